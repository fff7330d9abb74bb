// Files handed between the programs of the family: loading what another program hands over,
// and "Открыть в редакторе".

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "app/hand_off.h"
#include "app/hand_off_client.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/message_box.h"

namespace qel::gui {

void MainWindow::receiveHandOff() {
  loadFile(qs(app::receivedPath(store_, op_)));
}

bool MainWindow::openInEditor() {
  const std::string path = bench_.test.fileName;
  if (path.empty()) return false;
  const auto& editor = app::kEditorEndpoint;
  auto fail = [this](const std::string& why) {
    op_.message(std::string(app::kHandOffSendFailed) + "\n" + why, Icon::Error);
    return false;
  };
  if (!app::endpointAnswers(editor)) {
    const QString program = qs(app::siblingProgram(settings_.dirQel, editor));
    if (!QProcess::startDetached(program, {})) return fail("Редактор не запускается: " + us(program));
    // The editor opens its endpoint once it has started; the family allows it two seconds.
    QElapsedTimer waited;
    waited.start();
    while (!app::endpointAnswers(editor) && waited.elapsed() < app::kEditorStartMs) QThread::msleep(50);
  }
  if (!app::writeHandOffPath(store_, path)) return fail("Путь не записан в Software\\QEL_Main");
  if (const auto failed = app::postHandOff(editor, app::handOffFor(editor)); !failed.empty())
    return fail(failed);
  return true;
}

}  // namespace qel::gui
