// The window itself: its size and place in twips, showing it, and running its events.
#include "app/bookform.h"

#include "platform/dispatch.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>

namespace cvx {

BookForm::BookForm(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);
    (void)Dir1.trySetPath(platform.currentFolder());
    keyPreview_ = new KeyPreview(this);
    keyPreview_->onKeyDown = [this](int code, int shift) {
        handleEvent([&] {
            Form_KeyDown(static_cast<std::int16_t>(code), static_cast<std::int16_t>(shift));
        });
    };
    createControls();
    zoom_ = std::make_unique<Zoom>(*ZoomView);
    describeControls();
    connectHandlers();
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        std::int16_t cancel = False;
        handleEvent([&] { Form_QueryUnload(cancel, kUnloadSessionEnding); });
    });
}

BookForm::~BookForm() = default;

void BookForm::MoveForm(double left, double top) {
    formLeft_ = left;
    formTop_ = top;
    move(twipsToPixels(left), twipsToPixels(top));
}

void BookForm::setFormSize(double width, double height) {
    formWidth_ = width;
    formHeight_ = height;
    resize(twipsToPixels(width), twipsToPixels(height));
}

void BookForm::showWindow() {
    show();
    raise();
    activateWindow();
}

void BookForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Dispatch::busy()) // a handler is running (a message box is open): it goes on
        return;
    std::int16_t cancel = False;
    handleEvent([&] {
        backToPage(); // a command of the window's, as Esc
        Form_QueryUnload(cancel, kUnloadWindowManager);
    });
    event->setAccepted(cancel == False);
}

void BookForm::focusViewingArea() {
    SCHERMO->widget()->setFocus(Qt::OtherFocusReason);
}

void BookForm::handleEvent(const std::function<void()>& handler) {
    if (Dispatch::busy()) {
        handler();
        return;
    }
    const auto before = saveReadingPlace();
    Dispatch::run(platform_, [&] {
        try {
            handler();
        } catch (const PageUnreadable& failure) {
            restoreReadingPlace(*before);
            platform_.messageBox(failure.text, kStyleCritical,
                                 QStringLiteral("- A T T E N Z I O N E -"));
        }
    });
    facing_->follow();
    announcePage(); // every event that shows a page ends here
}

} // namespace cvx
