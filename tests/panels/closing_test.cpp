// The closing panel with its countdown and the credits banner with its own.
#include "resources/artwork.h"
#include "tests/support/viewer.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// The reader is on the fourth page of the first book.
void onFourthPageOfFirstBook(BookForm& form) {
    form.Combo2->restore({form.Combo2->items(), 0, form.Combo2->List(0)});
    form.Combo1->restore({{"1", "2", "3", "4"}, 3, QStringLiteral("4   ")});
}

// A left click in the middle of `target`, delivered to its window as the system would, so
// that widgets which let the mouse through are skipped.
void clickOn(QWidget* target) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}
} // namespace

TEST(ClosingPanel, OpeningDisablesTheZonesAndStartsTheCountdown) {
    Viewer v;
    EXPECT_FALSE(v.form->Picture7->Visible());
    EXPECT_FALSE(v.form->Timer1.Enabled());
    v.form->Command1_Click();
    EXPECT_TRUE(v.form->Picture7->Visible());
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(v.form->Image8[i]->Enabled()) << i;
    EXPECT_EQ(v.form->CountdownTicks, 80);
    EXPECT_TRUE(v.form->Timer1.Enabled());
    EXPECT_EQ(v.form->Timer1.Interval(), 200);
    EXPECT_EQ(v.form->Label11->Caption(), "8");
}

TEST(ClosingPanel, CountdownRunsOutAndAnswersNo) {
    Viewer v;
    writeFile(v.volume.bookmarkPath(), " 1\r\n 2\r\n");
    writeFile(v.volume.workImagePath(), "page data");
    v.form->Image11_Click();
    for (int tick = 1; tick <= 79; ++tick) {
        v.form->Timer1.tick();
        SCOPED_TRACE(tick);
        EXPECT_EQ(v.form->Shape2->Width(), 50.0 * (81 - tick));
        const int digit = tick <= 10 ? 7 : tick == 11 ? 6 : tick == 70 ? 1 : tick >= 71 ? 0 : -1;
        if (digit >= 0) {
            EXPECT_EQ(v.form->Label11->Caption(), QString::number(digit));
        }
    }
    EXPECT_FALSE(v.platform.ended);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 1\r\n 2\r\n");
    EXPECT_THROW(v.form->Timer1.tick(), ProgramEnded); // the 80th
    EXPECT_EQ(v.platform.exitStatus, kExitNormal);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    EXPECT_TRUE(v.platform.boxes.empty());
}

TEST(ClosingPanel, TimerTicksOnTheEventLoop) {
    Viewer v;
    v.form->Command1_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.form->CountdownTicks < 80; }, 5000));
    EXPECT_GE(v.form->CountdownTicks, 70);
    EXPECT_EQ(v.form->Label11->Caption(), "7");
}

TEST(ClosingPanel, OpeningAgainRestartsTheCountdown) {
    Viewer v;
    v.form->Command1_Click();
    for (int tick = 0; tick < 30; ++tick)
        v.form->Timer1.tick();
    EXPECT_EQ(v.form->CountdownTicks, 50);
    EXPECT_EQ(v.form->Label11->Caption(), "5");
    v.form->Command1_Click(); // Esc or End a second time
    EXPECT_EQ(v.form->CountdownTicks, 80);
    v.form->Timer1.tick();
    EXPECT_EQ(v.form->Shape2->Width(), 4000);
    EXPECT_EQ(v.form->Label11->Caption(), "7");
}

TEST(ClosingPanel, YesSavesThePlaceAndNoClearsIt) {
    const struct {
        const char* what;
        std::function<void(BookForm&)> place;
        int answer;
        QByteArray bookmark;
    } cases[] = {
        {"the fourth page of the first book", onFourthPageOfFirstBook, 0, " 0\r\n 3\r\n"},
        {"texts that match without blanks or case",
         [](BookForm& f) {
             f.Combo2->setText(QStringLiteral("  ") + f.Combo2->List(2).toLower());
             f.Combo1->restore({{"1s", "1d", "2s"}, 0, QStringLiteral("1D  ")});
         },
         0, " 2\r\n 1\r\n"},
        {"a page no item matches: the item count",
         [](BookForm& f) {
             onFourthPageOfFirstBook(f);
             f.Combo1->setText(QStringLiteral("99"));
         },
         0, " 0\r\n 4\r\n"},
        {"No", onFourthPageOfFirstBook, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Viewer v;
        writeFile(v.volume.bookmarkPath(), " 2\r\n 5\r\n");
        writeFile(v.volume.workImagePath(), "page data");
        c.place(*v.form);
        v.form->Command1_Click();
        v.form->Timer1.tick();
        EXPECT_THROW(v.form->Image13_Click(c.answer), ProgramEnded);
        EXPECT_EQ(v.platform.exitStatus, kExitNormal);
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), c.bookmark);
        EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
        EXPECT_TRUE(v.platform.boxes.empty());
        EXPECT_FALSE(v.form->Timer1.Enabled());
    }
}

TEST(ClosingPanel, AnnullaReturnsToReadingWithSixZonesAndOtherAnswersOnlyStopTheCountdown) {
    Viewer v;
    // An unmagnified page: zones 2, 3 and 5 were off before the panel opened.
    v.form->Image8[2]->setEnabled(false);
    v.form->Image8[3]->setEnabled(false);
    v.form->Image8[5]->setEnabled(false);
    v.form->Command1_Click();
    v.form->Timer1.tick();
    v.form->Image13_Click(2);
    EXPECT_FALSE(v.form->Picture7->Visible());
    EXPECT_FALSE(v.form->Timer1.Enabled());
    const std::array<bool, 8> expected = {true, true, true, true, true, true, false, false};
    EXPECT_EQ(v.zones(), expected);
    EXPECT_FALSE(v.platform.ended);
    // The countdown stays stopped.
    const int left = v.form->CountdownTicks;
    v.form->Timer1.tick();
    EXPECT_EQ(v.form->CountdownTicks, left);
    // Another answer only stops the countdown.
    v.form->Command1_Click();
    v.form->Image13_Click(3);
    EXPECT_FALSE(v.form->Timer1.Enabled());
    EXPECT_TRUE(v.form->Picture7->Visible());
    EXPECT_FALSE(v.platform.ended);
}

TEST(ClosingPanel, BookmarkKeepsTheOldPlaceWhenTheNewOneCannotBeWritten) {
    Viewer v;
    writeFile(v.volume.bookmarkPath(), " 2\r\n 5\r\n");
    writeFile(v.volume.workImagePath(), "page data");
    onFourthPageOfFirstBook(*v.form);
    {
        // Room for half of the new content only: a write in place would leave a broken file.
        const FileSizeLimit limit(4);
        EXPECT_THROW(v.form->Image13_Click(0), ProgramEnded);
    }
    EXPECT_EQ(v.platform.exitStatus, kExitFailure); // the place was not kept
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 2\r\n 5\r\n");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(
        v.platform.boxes[0].text.contains(QDir::toNativeSeparators(v.volume.bookmarkPath())));
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
    EXPECT_EQ(QDir(v.volume.workFolder()).entryList(QDir::Files).size(), 2)
        << "no temporary file is left behind";
}

TEST(ClosingPanel, BookmarkThatCannotBeClearedIsReported) {
    Viewer v;
    ASSERT_TRUE(QFile::remove(v.volume.bookmarkPath()));
    ASSERT_TRUE(QDir().mkdir(v.volume.bookmarkPath()));
    writeFile(v.volume.workImagePath(), "page data");
    EXPECT_THROW(v.form->Image13_Click(1), ProgramEnded);
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(
        v.platform.boxes[0].text.contains(QDir::toNativeSeparators(v.volume.bookmarkPath())));
}

TEST(ClosingPanel, ClickAreasLieOverThePaintedButtons) {
    Viewer v;
    const double w = v.form->Picture7->Width() / 15, h = v.form->Picture7->Height() / 15;
    const QImage art = artwork::image(QStringLiteral("closing-panel"), QSize(qRound(w), qRound(h)));
    const QRgb panel = art.pixel(5, qRound(h) - 5);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& area = *v.form->Image13[i];
        const int left = qRound(area.Left() / 15), top = qRound(area.Top() / 15);
        const int right = qRound((area.Left() + area.Width()) / 15) - 1;
        const int bottom = qRound((area.Top() + area.Height()) / 15) - 1;
        const int midX = (left + right) / 2, midY = (top + bottom) / 2;
        // Just inside each edge lies the button; just outside, the panel.
        EXPECT_NE(art.pixel(left + 1, midY), panel);
        EXPECT_NE(art.pixel(right - 1, midY), panel);
        EXPECT_NE(art.pixel(midX, top + 1), panel);
        EXPECT_NE(art.pixel(midX, bottom - 1), panel);
        EXPECT_EQ(art.pixel(left - 2, midY), panel);
        EXPECT_EQ(art.pixel(right + 2, midY), panel);
        EXPECT_EQ(art.pixel(midX, top - 2), panel);
        EXPECT_EQ(art.pixel(midX, bottom + 2), panel);
    }
}

TEST(ClosingPanel, MouseClickOnAnnullaReturnsToReading) {
    Viewer v;
    v.form->show();
    v.form->Command1_Click();
    clickOn(v.form->Image13[2]->widget());
    EXPECT_FALSE(v.form->Picture7->Visible());
    EXPECT_TRUE(v.form->Image8[0]->Enabled());
}

TEST(CreditsBanner, OpensWithAFullBarAndHidesAfterNinetyTicks) {
    Viewer v;
    EXPECT_FALSE(v.form->Picture9->Visible());
    v.form->Image15_Click();
    EXPECT_TRUE(v.form->Picture9->Visible());
    EXPECT_EQ(v.form->Shape1->Width(), 9200);
    EXPECT_EQ(v.form->BannerTicks, 90);
    EXPECT_EQ(v.form->Label9->Caption(), "9");
    EXPECT_TRUE(v.form->Timer2.Enabled());
    EXPECT_EQ(v.form->Timer2.Interval(), 200);
    for (int tick = 1; tick <= 89; ++tick) {
        v.form->Timer2.tick();
        SCOPED_TRACE(tick);
        EXPECT_EQ(v.form->Shape1->Width(), 100.0 * (91 - tick));
        EXPECT_EQ(v.form->Label9->Caption(), QString::number((90 - tick) / 10));
        EXPECT_TRUE(v.form->Picture9->Visible());
    }
    v.form->Timer2.tick();
    EXPECT_FALSE(v.form->Picture9->Visible());
    EXPECT_EQ(v.form->Shape1->Width(), 0);
    EXPECT_EQ(v.form->Label9->Caption(), "9");
    EXPECT_FALSE(v.form->Timer2.Enabled());
    EXPECT_EQ(v.form->Timer2.Interval(), 0);
    EXPECT_EQ(v.form->BannerTicks, 0);
}

TEST(CreditsBanner, ClickHidesItWhileTheCountdownGoesOn) {
    Viewer v;
    v.form->Image15_Click();
    v.form->Timer2.tick();
    v.form->Picture9_Click();
    EXPECT_FALSE(v.form->Picture9->Visible());
    EXPECT_TRUE(v.form->Timer2.Enabled());
    v.form->Timer2.tick();
    EXPECT_EQ(v.form->BannerTicks, 88);
    // A new opening starts again from 90.
    v.form->Image15_Click();
    EXPECT_TRUE(v.form->Picture9->Visible());
    EXPECT_EQ(v.form->BannerTicks, 90);
    for (int tick = 0; tick < 90; ++tick)
        v.form->Timer2.tick();
    EXPECT_FALSE(v.form->Picture9->Visible());
    EXPECT_FALSE(v.form->Timer2.Enabled());
}

TEST(CreditsBanner, MouseClickOnItsTextsHidesIt) {
    Viewer v;
    v.form->show();
    v.form->Image15_Click();
    ASSERT_TRUE(v.form->Picture9->widget()->isVisible());
    clickOn(v.form->Label1[2]->widget());
    EXPECT_FALSE(v.form->Picture9->Visible());
}

TEST(ClosingPanel, OnlyTheReaderDecidesWhetherThePlaceIsKept) {
    Viewer v;
    writeFile(v.volume.bookmarkPath(), kSavedPlace);
    v.openAt(0, 2);
    // A session saved, or ending: the viewer goes on and the place stays as it was.
    std::int16_t cancel = False;
    v.event([&] { v.form->Form_QueryUnload(cancel, kUnloadSessionEnding); });
    EXPECT_FALSE(v.form->Picture7->Visible());
    // A close request from the window manager asks; a second one asks again, answering nothing.
    EXPECT_FALSE(v.form->close());
    EXPECT_TRUE(v.form->Picture7->Visible());
    v.form->Timer1.tick();
    EXPECT_FALSE(v.form->close());
    EXPECT_EQ(v.form->CountdownTicks, 80);
    EXPECT_FALSE(v.platform.ended);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
}
