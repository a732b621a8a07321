// What the viewer asks of the operating system: modal message boxes, ending the process, the
// screen size, the folder that stands for "c:\" and the current folder. Tests replace it.
#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

namespace cvx {

class Printer;

// Message box styles and answers, as the viewer's procedures name them.
inline constexpr int kStyleOk = 0;
inline constexpr int kStyleCritical = 16;
inline constexpr int kStyleYesNoCritical = 20;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Exit statuses: a closing by the reader, and every fatal end (a fault of the volume or the
// installation, a screen too narrow, a failure no procedure handles, a closing whose files
// could not be written).
inline constexpr int kExitNormal = 0;
inline constexpr int kExitFailure = 1;

// Why the window is asked to close from outside it (Form_QueryUnload).
inline constexpr std::int16_t kUnloadWindowManager = 0;
inline constexpr std::int16_t kUnloadSessionEnding = 2;

// The title of boxes that have none of their own.
inline const QString kApplicationTitle = QStringLiteral("Cartavox");

class Platform {
  public:
    virtual ~Platform() = default;

    // Shows a modal box (carriage returns in `text` are line breaks); returns the answer.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;

    // Ends the program at once with exit status `status`: no further handler runs. Never
    // returns.
    [[noreturn]] virtual void endProgram(int status) = 0;

    // Size of the primary screen in pixels.
    [[nodiscard]] virtual QSize screenPixels() const = 0;

    // The folder that stands for "c:\", with a trailing separator.
    [[nodiscard]] virtual QString driveRoot() const = 0;

    // The process's current folder (where "Cartavox.exe" and the archives are looked for),
    // without a trailing separator unless it is a root.
    [[nodiscard]] virtual QString currentFolder() const = 0;

    // The system's default printer, or null when it has none (platform/printer.cpp).
    [[nodiscard]] virtual std::unique_ptr<Printer> defaultPrinter();
};

// The real thing: QMessageBox, the primary screen, the user's generic data folder.
class QtPlatform : public Platform {
  public:
    int messageBox(const QString& text, int style, const QString& title) override;
    [[noreturn]] void endProgram(int status) override;
    [[nodiscard]] QSize screenPixels() const override;
    [[nodiscard]] QString driveRoot() const override;
    [[nodiscard]] QString currentFolder() const override;
};

// Joins the folder that stands for "c:\" with a path below it.
[[nodiscard]] QString underRoot(const QString& root, const QString& relative);

} // namespace cvx
