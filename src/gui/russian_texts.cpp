#include "gui/russian_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qel::gui {

bool installQtRussian(QObject* owner) {
  auto* translator = new QTranslator(owner);
  const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             QCoreApplication::applicationDirPath() + "/translations"};
  for (const QString& folder : folders)
    if (translator->load("qtbase_ru", folder)) return QCoreApplication::installTranslator(translator);
  delete translator;
  return false;
}

}  // namespace qel::gui
