// Qt's own texts (message-box buttons, standard dialogs) in Italian whatever the system's
// locale: Qt's Italian catalogue (Debian's qt6-translations-l10n) is compiled into the program,
// so a volume's viewer speaks Italian on any machine.
#pragma once

namespace cvx {

// Installs the catalogue in the running application; false when it cannot be loaded.
[[nodiscard]] bool installQtItalian();

} // namespace cvx
