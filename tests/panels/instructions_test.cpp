// The instructions panel: opening and closing it, the state of the selectors, and the text and
// pointer picture of every topic.
#include "panels/instruction_texts.h"
#include "tests/support/viewer.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
struct PanelState {
    bool panel, question, closeQuestion, books, pages, confirm;
    bool operator==(const PanelState&) const = default;
};

PanelState stateOf(const BookForm& f) {
    return {f.Picture1->Visible(), f.Image2[0]->Visible(), f.Image2[1]->Visible(),
            f.Combo2->Enabled(),   f.Combo1->Enabled(),    f.Picture5->Enabled()};
}

const PanelState kClosed{false, true, false, true, true, true};
const PanelState kOpen{true, false, true, false, false, false};

// The pointer pictures shown.
std::vector<int> shownPointers(const BookForm& f) {
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i)
        if (f.Image7[i]->Visible())
            shown.push_back(i);
    return shown;
}
} // namespace

TEST(InstructionsPanel, StartsClosedWithTheFirstTopic) {
    Viewer v;
    EXPECT_EQ(stateOf(*v.form), kClosed);
    EXPECT_TRUE(v.form->Option1[0]->Value());
    EXPECT_EQ(v.form->Label4->Caption(), instructions::topicText(0));
    EXPECT_EQ(v.form->Label2->Caption(), instructions::preliminaryNote());
    // Shown with line breaks.
    EXPECT_TRUE(v.form->Label2->label()->text().startsWith("I LIBRI\nI testi antichi"));
    EXPECT_EQ(shownPointers(*v.form), std::vector<int>());
}

TEST(InstructionsPanel, EveryWayOpensAndClosesItWithTheSelectors) {
    Viewer v;
    BookForm& f = *v.form;
    const std::pair<const char*, std::function<void()>> toggles[] = {
        {"question mark", [&] { f.Image2_Click(0); }},
        {"close picture", [&] { f.Image2_Click(1); }},
        {"F3", [&] { v.key(114); }},
    };
    for (const auto& [name, toggle] : toggles) {
        SCOPED_TRACE(name);
        toggle();
        EXPECT_EQ(stateOf(f), kOpen);
        toggle();
        EXPECT_EQ(stateOf(f), kClosed);
    }
    // The F3 picture always closes.
    f.Image2_Click(0);
    f.Image14_Click();
    EXPECT_EQ(stateOf(f), kClosed);
    f.Image14_Click();
    EXPECT_EQ(stateOf(f), kClosed);
    // Hidden by a forward turn or a page pick, the panel reopens at the next toggle.
    f.Image2_Click(0);
    f.Picture1->setVisible(false);
    EXPECT_FALSE(f.Combo1->Enabled());
    f.Image2_Click(0);
    EXPECT_EQ(stateOf(f), kOpen);
    f.Image2_Click(0);
    EXPECT_EQ(stateOf(f), kClosed);
}

TEST(InstructionsPanel, EveryTopicShowsItsTextAndPictureAndStaysAcrossClosing) {
    Viewer v;
    BookForm& f = *v.form;
    f.Image2_Click(0);
    // Visit the topics in an order that leaves a picture shown before each one.
    for (int k : {3, 0, 1, 6, 7, 2, 4, 5}) {
        SCOPED_TRACE(k);
        f.Option1[k]->setValue(true);
        EXPECT_TRUE(f.Option1[k]->Value());
        EXPECT_EQ(f.Label4->Caption(), instructions::topicText(k));
        const int picture = instructions::topicPicture(k);
        EXPECT_EQ(shownPointers(f), picture < 0 ? std::vector<int>() : std::vector<int>{picture});
    }
    f.Image14_Click();
    f.Image2_Click(0);
    EXPECT_EQ(f.Label4->Caption(), instructions::topicText(5));
    EXPECT_EQ(shownPointers(f), std::vector<int>{4});
}
