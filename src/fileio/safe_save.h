#pragma once
// Every file the program writes goes through here: the new content is written to a temporary file
// beside the target and renamed over it, so a failure or a kill at any point leaves the old file
// whole and nothing of another name touched.

#include <functional>
#include <string>
#include <string_view>

namespace qel::fileio {

// Replaces the file at path (UTF-8) with bytes. The target keeps its permissions; a symbolic link
// keeps pointing where it did and its target gets the content; a folder, a device or a
// write-protected file is refused. The data and the folder entry are flushed to the disk before
// success is reported. Returns an empty string on success, else why it failed, in the user's
// words; the temporary file is gone either way.
std::string saveFile(const std::string& path, std::string_view bytes);

// Hands each chunk to the temporary file; false once a write has failed.
using ChunkWriter = std::function<bool(std::string_view)>;

// The same for content too large to hold at once: produce writes it chunk by chunk and returns an
// empty string, or why it gave up; either failure leaves the old file whole.
std::string saveFileStreamed(const std::string& path,
                             const std::function<std::string(const ChunkWriter&)>& produce);

// Whether saveFile would refuse the target before writing anything: the same reason, or empty.
std::string saveRefusal(const std::string& path);

}  // namespace qel::fileio
