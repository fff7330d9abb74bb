#pragma once
// Qt's own texts (the Yes/No buttons, the file dialogs) in Russian, as the program's are.

class QObject;

namespace qel::gui {

// Installs Qt's Russian translation into the application; false when none was found (Qt's
// translations folder, or translations/ beside the program on Windows).
bool installQtRussian(QObject* owner);

}  // namespace qel::gui
