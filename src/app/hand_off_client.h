#pragma once
// The sending side of the hand-off, without a GUI toolkit, for qel and for the desktop program.

#include <string>

#include "app/hand_off.h"

namespace qel::app {

// Where the endpoint listens: a socket in the temporary folder ($TMPDIR or /tmp), or the named
// pipe of that name on Windows.
std::string endpointAddress(const Endpoint& endpoint);

// Whether a program listens at the endpoint now.
bool endpointAnswers(const Endpoint& endpoint);

// Delivers the message; empty on success, else why it could not.
std::string postHandOff(const Endpoint& to, const HandOffMessage& message);

}  // namespace qel::app
