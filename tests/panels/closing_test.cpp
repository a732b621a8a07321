// The closing panel with its countdown and the credits banner with its own.
#include "app/bookform.h"
#include "resources/artwork.h"
#include "tests/support/test_volume.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// Runs one closing action; true when it ended the program.
bool ends(const std::function<void()>& action) {
    try {
        action();
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}

// The reader is on the fourth page of the first book.
void onFourthPageOfFirstBook(BookForm& form) {
    form.Combo2->restore({form.Combo2->items(), 0, form.Combo2->List(0)});
    form.Combo1->restore({{"1", "2", "3", "4"}, 3, QStringLiteral("4   ")});
}

std::array<bool, 8> zones(const BookForm& form) {
    std::array<bool, 8> on{};
    for (int i = 0; i < 8; ++i)
        on[i] = form.Image8[i]->Enabled();
    return on;
}

// A left click in the middle of `target`, delivered to its window as the system would, so
// that widgets which let the mouse through are skipped.
void clickOn(QWidget* target) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

// Writes of regular files beyond `bytes` fail while it lives (it binds root too).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};
} // namespace

TEST(ClosingPanel, OpeningDisablesTheZonesAndStartsTheCountdown) {
    StartedViewer v;
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
    StartedViewer v;
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
    EXPECT_TRUE(ends([&] { v.form->Timer1.tick(); })); // the 80th
    EXPECT_EQ(v.platform.exitStatus, kExitNormal);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    EXPECT_TRUE(v.platform.boxes.empty());
}

TEST(ClosingPanel, TimerTicksOnTheEventLoop) {
    StartedViewer v;
    v.form->Command1_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.form->CountdownTicks < 80; }, 5000));
    EXPECT_GE(v.form->CountdownTicks, 70);
    EXPECT_EQ(v.form->Label11->Caption(), "7");
}

TEST(ClosingPanel, OpeningAgainRestartsTheCountdown) {
    StartedViewer v;
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

TEST(ClosingPanel, EscTwiceRestartsTheCountdownAndSKeySaves) {
    StartedViewer v;
    v.form->Combo1->setListIndex(3);
    v.form->Form_KeyDown(83, 0); // S with the panel hidden does nothing
    EXPECT_FALSE(v.platform.ended);
    v.form->Form_KeyDown(27, 0); // Esc
    for (int tick = 0; tick < 12; ++tick)
        v.form->Timer1.tick();
    EXPECT_EQ(v.form->Label11->Caption(), "6");
    v.form->Form_KeyDown(27, 0);
    v.form->Timer1.tick();
    EXPECT_EQ(v.form->CountdownTicks, 79);
    EXPECT_EQ(v.form->Label11->Caption(), "7");
    EXPECT_TRUE(ends([&] { v.form->Form_KeyDown(83, 0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 0\r\n 3\r\n");
}

TEST(ClosingPanel, EndThenNKeyClears) {
    StartedViewer v;
    writeFile(v.volume.bookmarkPath(), " 1\r\n 1\r\n");
    v.form->Form_KeyDown(35, 0); // End
    EXPECT_TRUE(v.form->Picture7->Visible());
    EXPECT_TRUE(ends([&] { v.form->Form_KeyDown(78, 0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
}

TEST(ClosingPanel, YesSavesTheCurrentPlace) {
    StartedViewer v;
    writeFile(v.volume.workImagePath(), "page data");
    onFourthPageOfFirstBook(*v.form);
    v.form->Command1_Click();
    v.form->Timer1.tick();
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 0\r\n 3\r\n");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    EXPECT_TRUE(v.platform.boxes.empty());
    EXPECT_FALSE(v.form->Timer1.Enabled());
}

TEST(ClosingPanel, YesAfterThePagePickedInTheSelectors) {
    StartedViewer v;
    v.form->Combo2->setListIndex(0);
    v.form->Combo1->setListIndex(3); // shows the fourth page
    ASSERT_FALSE(v.form->Image1->picture().isNull());
    v.form->Command1_Click();
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 0\r\n 3\r\n");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
}

TEST(ClosingPanel, YesMatchesTextsWithoutBlanksOrCase) {
    StartedViewer v;
    ASSERT_GE(v.form->Combo2->ListCount(), 3);
    v.form->Combo2->setText(QStringLiteral("  ") + v.form->Combo2->List(2).toLower());
    v.form->Combo1->restore({{"1s", "1d", "2s"}, 0, QStringLiteral("1D  ")});
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 2\r\n 1\r\n");
}

TEST(ClosingPanel, YesWithAnUnknownPageWritesTheItemCount) {
    StartedViewer v;
    onFourthPageOfFirstBook(*v.form);
    v.form->Combo1->setText(QStringLiteral("99"));
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 0\r\n 4\r\n");
}

TEST(ClosingPanel, NoClearsThePlace) {
    StartedViewer v;
    writeFile(v.volume.bookmarkPath(), " 2\r\n 5\r\n");
    writeFile(v.volume.workImagePath(), "page data");
    v.form->Command1_Click();
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(1); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
}

TEST(ClosingPanel, AnnullaEnablesAllSixZonesAndHidesThePanel) {
    StartedViewer v;
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
    EXPECT_EQ(zones(*v.form), expected);
    EXPECT_FALSE(v.platform.ended);
    // The countdown stays stopped.
    const int left = v.form->CountdownTicks;
    v.form->Timer1.tick();
    EXPECT_EQ(v.form->CountdownTicks, left);
}

TEST(ClosingPanel, OtherAnswersOnlyStopTheCountdown) {
    StartedViewer v;
    v.form->Command1_Click();
    v.form->Image13_Click(3);
    EXPECT_FALSE(v.form->Timer1.Enabled());
    EXPECT_TRUE(v.form->Picture7->Visible());
    EXPECT_FALSE(v.platform.ended);
}

TEST(ClosingPanel, BookmarkKeepsTheOldPlaceWhenTheNewOneCannotBeWritten) {
    StartedViewer v;
    writeFile(v.volume.bookmarkPath(), " 2\r\n 5\r\n");
    writeFile(v.volume.workImagePath(), "page data");
    onFourthPageOfFirstBook(*v.form);
    bool ended = false;
    {
        // Room for half of the new content only: a write in place would leave a broken file.
        FileSizeLimit limit(4);
        ended = ends([&] { v.form->Image13_Click(0); });
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(v.platform.exitStatus, kExitFailure); // the place was not kept
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 2\r\n 5\r\n");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(
        v.platform.boxes[0].text.contains(QDir::toNativeSeparators(v.volume.bookmarkPath())));
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
    EXPECT_EQ(QDir(v.volume.root() + v.volume.plan.workFolderName).entryList(QDir::Files).size(), 2)
        << "no temporary file is left behind";
}

TEST(ClosingPanel, WorkingImageThatCannotBeEmptiedIsReported) {
    StartedViewer v;
    onFourthPageOfFirstBook(*v.form);
    ASSERT_TRUE(QFile::remove(v.volume.workImagePath()));
    ASSERT_TRUE(QDir().mkdir(v.volume.workImagePath())); // a folder in its place
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(0); }));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 0\r\n 3\r\n");
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(
        v.platform.boxes[0].text.contains(QDir::toNativeSeparators(v.volume.workImagePath())));
}

TEST(ClosingPanel, BookmarkThatCannotBeClearedIsReported) {
    StartedViewer v;
    ASSERT_TRUE(QFile::remove(v.volume.bookmarkPath()));
    ASSERT_TRUE(QDir().mkdir(v.volume.bookmarkPath()));
    writeFile(v.volume.workImagePath(), "page data");
    EXPECT_TRUE(ends([&] { v.form->Image13_Click(1); }));
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(
        v.platform.boxes[0].text.contains(QDir::toNativeSeparators(v.volume.bookmarkPath())));
}

TEST(ClosingPanel, ClickAreasLieOverThePaintedButtons) {
    StartedViewer v;
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
    StartedViewer v;
    v.form->show();
    v.form->Command1_Click();
    clickOn(v.form->Image13[2]->widget());
    EXPECT_FALSE(v.form->Picture7->Visible());
    EXPECT_TRUE(v.form->Image8[0]->Enabled());
}

TEST(CreditsBanner, OpensWithAFullBar) {
    StartedViewer v;
    EXPECT_FALSE(v.form->Picture9->Visible());
    v.form->Image15_Click();
    EXPECT_TRUE(v.form->Picture9->Visible());
    EXPECT_EQ(v.form->Shape1->Width(), 9200);
    EXPECT_EQ(v.form->BannerTicks, 90);
    EXPECT_EQ(v.form->Label9->Caption(), "9");
    EXPECT_TRUE(v.form->Timer2.Enabled());
    EXPECT_EQ(v.form->Timer2.Interval(), 200);
}

TEST(CreditsBanner, CountdownHidesItAfterNinetyTicks) {
    StartedViewer v;
    v.form->Image15_Click();
    for (int tick = 1; tick <= 89; ++tick) {
        v.form->Timer2.tick();
        SCOPED_TRACE(tick);
        EXPECT_EQ(v.form->Shape1->Width(), 100.0 * (91 - tick));
        EXPECT_EQ(v.form->Label9->Caption(), QString::number((90 - tick) / 10));
        EXPECT_TRUE(v.form->Picture9->Visible());
    }
    EXPECT_EQ(v.form->Label9->Caption(), "0");
    v.form->Timer2.tick();
    EXPECT_FALSE(v.form->Picture9->Visible());
    EXPECT_EQ(v.form->Shape1->Width(), 0);
    EXPECT_EQ(v.form->Label9->Caption(), "9");
    EXPECT_FALSE(v.form->Timer2.Enabled());
    EXPECT_EQ(v.form->Timer2.Interval(), 0);
    EXPECT_EQ(v.form->BannerTicks, 0);
}

TEST(CreditsBanner, ClickHidesItWhileTheCountdownGoesOn) {
    StartedViewer v;
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
    StartedViewer v;
    v.form->show();
    v.form->Image15_Click();
    ASSERT_TRUE(v.form->Picture9->widget()->isVisible());
    clickOn(v.form->Label1[2]->widget());
    EXPECT_FALSE(v.form->Picture9->Visible());
}
