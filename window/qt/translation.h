// The interface speaks Simplified Chinese whatever the system locale, Qt's own texts (context
// menus, standard buttons) included.
#pragma once

class QCoreApplication;

namespace zanvo {

// Installs Qt's Simplified Chinese translation where it is installed; returns whether it was.
bool installChineseTranslation(QCoreApplication &app);

} // namespace zanvo
