// The aids for faded ink (F7): the tone table and its pixels against figures worked out by hand,
// the aids' file, and the panel driven by real keys on the window: what the page paints, what
// stays untouched, and what is remembered.
#include "display/ink_aids.h"
#include "panels/ink_panel.h"
#include "platform/printer.h"
#include "tests/support/viewer.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;
using ink::Aids;

TEST(InkAids, ToneTableAtHandWorkedValues) {
    const struct {
        Aids aids;
        int in, out;
    } cases[] = {
        {{}, 77, 77},
        {{.brightness = 20}, 0, 51},                    // + 0.2 x 255
        {{.brightness = 20}, 100, 151},                 //
        {{.brightness = 20}, 250, 255},                 // clamped
        {{.contrast = -50}, 0, 64},                     // slope 1/2 about 127.5: 63.75
        {{.contrast = -50}, 100, 114},                  // 113.75
        {{.contrast = 50}, 200, 255},                   // slope 2: 272.5, clamped
        {{.contrast = 50}, 50, 0},                      // -27.5, clamped
        {{.gamma = 20}, 64, 128},                       // 255 x sqrt(64 / 255) = 127.75
        {{.gamma = 5}, 128, 64},                        // 255 x (128 / 255)^2 = 64.25
        {{.negative = true}, 30, 225},                  //
        {{.brightness = 20, .negative = true}, 0, 204}, // negative last
    };
    for (const auto& c : cases)
        EXPECT_EQ(ink::toneTable(c.aids)[std::size_t(c.in)], c.out) << c.in;
}

TEST(InkAids, PixelsOfEachViewAndFormat) {
    const QRgb ochre = qRgb(200, 100, 50);
    const struct {
        Aids aids;
        QImage::Format format;
        QRgb in, out;
    } cases[] = {
        {{.negative = true}, QImage::Format_RGB32, ochre, qRgb(55, 155, 205)},
        {{.greyscale = true}, QImage::Format_RGB32, ochre, qRgb(126, 126, 126)}, // 4050 / 32
        {{.channel = ink::Channel::green}, QImage::Format_RGB32, ochre, qRgb(100, 100, 100)},
        {{.negative = true, .channel = ink::Channel::blue},
         QImage::Format_RGB32,
         ochre,
         qRgb(205, 205, 205)},
        {{.negative = true},
         QImage::Format_ARGB32,
         qRgba(200, 100, 50, 90),
         qRgba(55, 155, 205, 90)},
        {{.negative = true}, QImage::Format_Grayscale8, qRgb(40, 40, 40), qRgb(215, 215, 215)},
        {{.negative = true}, QImage::Format_RGB888, ochre, qRgb(55, 155, 205)},
    };
    for (const auto& c : cases) {
        QImage image(3, 2, c.format);
        image.fill(QColor::fromRgba(c.in));
        const QImage out = ink::applied(image, c.aids, ink::toneTable(c.aids));
        EXPECT_EQ(out.pixel(2, 1), c.out) << c.format;
        EXPECT_EQ(image.pixel(2, 1), QColor::fromRgba(c.in).rgba()) << "the source is kept";
    }
    QImage page(4, 4, QImage::Format_RGB32);
    EXPECT_EQ(ink::applied(page, {}, ink::toneTable({})).cacheKey(), page.cacheKey());
}

TEST(InkAids, FileTextRoundTripsAndDamageLeavesEachAidAtItsDefault) {
    const Aids set{-35, 60, 14, true, false, ink::Channel::red};
    EXPECT_EQ(ink::parsed(ink::serialized(set)), set);
    EXPECT_EQ(ink::parsed("luminosita=-35\ngamma=51\ncontrasto=x\ncanale=viola\nnegativo=1"),
              (Aids{.brightness = -35, .negative = true}));
    EXPECT_EQ(ink::parsed(QByteArray("\xff\x00=7\n", 5)), Aids{});
}

namespace {
struct Aided : Viewer {
    explicit Aided(const pack::VolumeSpec& plan = standardVolume()) : Viewer(plan) {
        focus(form->SCHERMO->widget());
    }
    [[nodiscard]] InkPanel& panel() const { return form->inkPanel(); }
    [[nodiscard]] QImage painted() const { return form->Image1->widget()->grab().toImage(); }
    // What a screen reader says of `w`: the label it is labelled by (a list's own name is its
    // choice), else its name; and its description.
    [[nodiscard]] static QString spoken(QWidget* w, QAccessible::Text which) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const auto labels = a->relations(QAccessible::Label);
        if (which == QAccessible::Name && !labels.isEmpty())
            return labels.first().first->text(QAccessible::Name);
        return a->text(which);
    }
};
} // namespace

TEST(InkPanel, KeysOpenMoveAndResetAndTheirNamesAreRead) {
    Aided r(largePageVolume()); // pages large enough to zoom
    r.openAt(1, 1);
    const QImage plain = r.painted();
    r.press(Qt::Key_F7);
    ASSERT_TRUE(r.panel().isOpen());
    const std::array<QWidget*, 7> controls = r.panel().controls();
    const QStringList names = {"Luminosità",     "Contrasto", "Gamma",     "Negativo",
                               "Scala di grigi", "Canale",    "Ripristina"};
    for (std::size_t i = 0; i < controls.size(); ++i) { // Tab reaches each, then the first again
        EXPECT_EQ(QApplication::focusWidget(), controls[i]) << i;
        EXPECT_EQ(Aided::spoken(controls[i], QAccessible::Name), names[qsizetype(i)]);
        EXPECT_FALSE(Aided::spoken(controls[i], QAccessible::Description).isEmpty());
        r.press(Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), controls[0]);
    r.press(Qt::Key_Right); // the slider moves, the page stays
    const QImage firstStep = r.painted();
    r.press(Qt::Key_PageUp);
    EXPECT_GT(meanDifference(r.painted(), firstStep), 10); // each step painted anew
    EXPECT_EQ(r.panel().slider(InkPanel::brightness)->value(), 25);
    EXPECT_TRUE(r.showing(1, 1));
    EXPECT_EQ(r.pageText(), "0002");
    EXPECT_GT(meanDifference(r.painted(), plain), 20);
    r.press(Qt::Key_Plus); // the zoomed page through the aids too
    ASSERT_TRUE(r.form->zoomed());
    const auto zoomedPage = [&] { return r.form->ZoomView->widget()->grab().toImage(); };
    const QImage zoomedAided = zoomedPage();
    r.press(Qt::Key_Backtab);
    r.press(Qt::Key_Backtab);
    r.press(Qt::Key_Space); // the channel's list: its keys never turn a page
    r.press(Qt::Key_Down);
    r.press(Qt::Key_Left);
    r.press(Qt::Key_Return);
    EXPECT_EQ(r.form->inkFilter().aids().channel, ink::Channel::red);
    EXPECT_EQ(r.pageText(), "0002");
    r.press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), r.panel().resetButton());
    r.press(Qt::Key_Return);
    EXPECT_EQ(r.painted(), plain);
    EXPECT_GT(meanDifference(zoomedPage(), zoomedAided), 20);
    EXPECT_EQ(r.panel().slider(InkPanel::brightness)->value(), 0);
    r.press(Qt::Key_Escape); // closes the panel only
    EXPECT_FALSE(r.panel().isOpen());
    EXPECT_FALSE(r.form->Picture7->Visible());
    EXPECT_EQ(QApplication::focusWidget(), r.form->SCHERMO->widget());
}

TEST(InkPanel, AidsHoldAcrossTurnsAndMagnifierYetNoFileAndNoPrintChanges) {
    Aided r;
    r.platform.printer = PrinterSetup{QStringLiteral("Ufficio"), 1, QSizeF(200, 287), {}};
    r.openAt(0, 1);
    const auto snapshot = [&] {
        QStringList all;
        for (const QString& folder : {r.volume.folder(), r.volume.workFolder()})
            for (const QString& name : filesIn(folder))
                if (name != "ausili.cfg") // the aids' own file
                    all << name + ":" + QString::number(qHash(contentOf(folder + "/" + name)));
        return all;
    };
    const QStringList before = snapshot();
    r.press(Qt::Key_F7);
    r.press(Qt::Key_Tab);
    r.press(Qt::Key_Tab);
    r.press(Qt::Key_Tab);
    r.press(Qt::Key_Space); // negative
    r.press(Qt::Key_Shift); // the magnifier, the panel left open
    EXPECT_EQ(r.form->view.Magnified, True);
    ASSERT_TRUE(r.panel().isOpen());
    r.press(Qt::Key_F7);
    const QImage magnified = r.shownImage();
    const QImage page = QImage::fromData(r.volume.plan.books[0].pages[1]).scaled(magnified.size());
    EXPECT_GT(meanDifference(magnified, page), 100);
    r.press(Qt::Key_Shift);
    r.press(Qt::Key_Right); // the next page, negative too
    EXPECT_TRUE(r.showing(0, 2));
    const QImage next = r.shownImage();
    EXPECT_GT(
        meanDifference(next, QImage::fromData(r.volume.plan.books[0].pages[2]).scaled(next.size())),
        100);
    r.press(Qt::Key_F4); // printed as scanned
    ASSERT_EQ(r.platform.printed.size(), 1u);
    const QImage printed = r.platform.printed[0].image;
    EXPECT_LT(meanDifference(printed, QImage::fromData(r.volume.plan.books[0].pages[2])), 3);
    r.press(Qt::Key_Left);
    EXPECT_EQ(snapshot(), before);
    r.press(Qt::Key_F6); // facing pages (their own file, a page named anew), negative too
    int sides = 0;
    for (const int side : {0, 1}) {
        ImageControl& facing = r.form->facing().page(side);
        if (facing.Visible() && !facing.picture().isNull())
            sides += meanDifference(facing.shownImage(), facing.paintedImage()) > 100;
    }
    EXPECT_GE(sides, 1);
}

TEST(InkPanel, AidsAreRememberedPerVolumeInTheirOwnFile) {
    Aided r;
    const QByteArray bookmark = contentOf(r.volume.bookmarkPath());
    r.press(Qt::Key_F7);
    r.press(Qt::Key_End); // brightness +100
    r.press(Qt::Key_F7);
    const QString file = r.volume.workFolder() + "/ausili.cfg";
    EXPECT_EQ(ink::parsed(contentOf(file)).brightness, 100);
    EXPECT_EQ(contentOf(r.volume.bookmarkPath()), bookmark);
    ASSERT_FALSE(r.start()); // the window made again, as at the next start
    EXPECT_EQ(r.form->inkFilter().aids(), (Aids{.brightness = 100}));
    for (const QByteArray& damaged :
         {QByteArray("luminosita=mille\n"), QByteArray("luminosita=50\n").repeated(400)}) {
        writeFile(file, damaged); // a bad value, a file far too long
        ASSERT_FALSE(r.start());
        EXPECT_TRUE(r.form->inkFilter().aids().identity());
    }
}
