#pragma once

class QCoreApplication;

namespace quendra::widgets {

// Qt's own texts (the file dialogs, the fields' context menus, the standard buttons) in
// Italian, from Qt's translations as installed on the system, and Italian names of
// months and days. False when Qt's Italian translation is not installed.
bool installItalianTranslation(QCoreApplication& app);

}  // namespace quendra::widgets
