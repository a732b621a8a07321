// The real message boxes and labels as a reader sees them: Qt's own texts in Italian whatever
// the system's locale, and a volume's texts shown as they are, never read as markup.
#include "platform/controls.h"
#include "platform/platform.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace cvx;

namespace {
// What a screen reader reads of a widget.
QString spoken(QObject* widget) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    return a ? a->text(QAccessible::Name) : QString();
}

struct SeenBox {
    QStringList buttons;
    QString text;
};

// Shows a real box and, while it is open, reads it and presses its last button.
SeenBox showBox(const QString& text, int style) {
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        seen.buttons.sort();
        seen.text = spoken(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
        box->buttons().last()->click();
    });
    QtPlatform platform;
    platform.messageBox(text, style, QStringLiteral("Titolo"));
    return seen;
}
} // namespace

TEST(QtPlatform, BoxesSpeakItalianAndShowTextsAsTheyAre) {
    const SeenBox confirmation =
        showBox(QStringLiteral("PROSEGUO CON LA STAMPA?"), kStyleYesNoCritical);
    EXPECT_EQ(confirmation.buttons, QStringList({"&No", "&Sì"}));
    const SeenBox markup = showBox(QStringLiteral("<b>/home/<i>lettore</i></b>"), kStyleOk);
    EXPECT_EQ(markup.buttons, QStringList({"OK"}));
    EXPECT_EQ(markup.text, "<b>/home/<i>lettore</i></b>");
}

TEST(QtPlatform, LabelsShowMarkupAndKeepAllButTheFinalNul) {
    QWidget window;
    Label label(&window);
    label.setCaption(QStringLiteral("<b>Theatro</b> & <i>Piante</i>") + QChar(0) + "x" + QChar(0));
    EXPECT_EQ(spoken(label.label()),
              QStringLiteral("<b>Theatro</b> & <i>Piante</i>") + QChar(0) + "x");
}
