// The hot zones on a loose page: where IMMAGIN8 puts them, their enabled states, their cursors
// and tooltips, and which zone a click at a point of the viewing area reaches.
#include "tests/display/loose_page.h"

#include "resources/artwork.h"

#include <QPixmap>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
bool sameCursor(const QWidget* w, const char* art) {
    return w->testAttribute(Qt::WA_SetCursor) &&
           w->cursor().pixmap().toImage() ==
               artwork::cursor(QString::fromLatin1(art)).pixmap().toImage();
}
} // namespace

TEST(HotZones, ZonesArePlacedOverThePageAndSixAndSevenKeepTheirDesign) {
    LoosePage page;
    BookForm& f = *page.form;
    f.SCHERMO->setTop(600);
    f.Image1->setGeometry(2182, 15, 4666, 7000);
    f.view.PageWidth = 4666;
    const Zones before = zonesEnabled(f);
    f.IMMAGIN8();
    EXPECT_NEAR(f.Image8[0]->Left(), 6459.17, 0.01);
    EXPECT_DOUBLE_EQ(f.Image8[0]->Top(), 1050);
    EXPECT_DOUBLE_EQ(f.Image8[0]->Height(), 7030);
    EXPECT_NEAR(f.Image8[2]->Width(), 4277.17, 0.01);
    EXPECT_NEAR(f.Image8[2]->Left(), 2376.42, 0.01);
    EXPECT_DOUBLE_EQ(f.Image8[2]->Top(), 5272.5);
    EXPECT_DOUBLE_EQ(f.Image8[3]->Top(), 200);
    EXPECT_NEAR(f.Image8[5]->Left(), 3737.33, 0.01);
    EXPECT_NEAR(f.Image8[5]->Top(), 2343.33, 0.01);
    // The widgets take the nearest pixels of the rectangles.
    EXPECT_EQ(f.Image8[0]->widget()->geometry(), QRect(431, 70, 26, 469));
    EXPECT_DOUBLE_EQ(f.Image8[6]->Left(), 1440);
    EXPECT_DOUBLE_EQ(f.Image8[6]->Top(), 750);
    EXPECT_DOUBLE_EQ(f.Image8[7]->Left(), 1380);
    EXPECT_DOUBLE_EQ(f.Image8[7]->Top(), 5370);
    EXPECT_EQ(zonesEnabled(f), before);
}

TEST(HotZones, EnabledStatesFollowMagnifierAndPanning) {
    LoosePage page(QSize(800, 1200));
    BookForm& f = *page.form;
    // The design states, as the window is created.
    BookForm fresh(page.platform);
    EXPECT_EQ(zonesEnabled(fresh), (Zones{true, true, false, false, true, false, false, false}));
    f.LENTE1();
    EXPECT_EQ(zonesEnabled(f), (Zones{true, true, true, false, false, true, false, false}));
    f.PAGSU(); // a full step
    EXPECT_EQ(zonesEnabled(f), (Zones{true, true, true, true, false, true, false, false}));
    for (int i = 0; i < 4; ++i)
        f.PAGSU(); // the bottom limit
    EXPECT_EQ(zonesEnabled(f), (Zones{true, true, false, true, false, true, false, false}));
    f.PAGGIU(); // a step taken
    EXPECT_EQ(zonesEnabled(f), (Zones{true, true, true, true, false, true, false, false}));
    f.view.PanStep = 0;
    f.PAGGIU(); // already at the top
    EXPECT_EQ(zonesEnabled(f), (Zones{true, true, true, false, false, true, false, false}));
    f.LENTE0();
    EXPECT_EQ(zonesEnabled(f), (Zones{true, true, false, false, true, false, false, false}));
    // The turn strips are left as they are by the magnifier and panning.
    f.Image8[0]->setEnabled(false);
    f.LENTE1();
    f.PAGSU();
    EXPECT_FALSE(f.Image8[0]->Enabled());
}

TEST(HotZones, CentreShowsTheLensOrTheCrossedLens) {
    LoosePage page;
    BookForm& f = *page.form;
    const double centreX = 4515, centreY = 3515;
    QWidget* lens = page.zoneAt(centreX, centreY);
    ASSERT_EQ(zoneIndex(f, lens), 4);
    EXPECT_EQ(lens->toolTip(), "LENTE");
    EXPECT_TRUE(sameCursor(lens, "lens"));

    f.Image8_Click(4);
    QWidget* noLens = page.zoneAt(centreX, centreY);
    ASSERT_EQ(zoneIndex(f, noLens), 5);
    EXPECT_EQ(noLens->toolTip(), "TOGLI LENTE");
    EXPECT_TRUE(sameCursor(noLens, "lens-off"));
    // The disabled lens zone above it shows nothing of its own.
    EXPECT_TRUE(f.Image8[4]->widget()->toolTip().isEmpty());
    EXPECT_FALSE(f.Image8[4]->widget()->testAttribute(Qt::WA_SetCursor));
}

TEST(HotZones, EdgesShowTheirTrianglesAndTooltips) {
    LoosePage page;
    BookForm& f = *page.form;
    f.Image8_Click(4); // all four triangles are in reach once the page is magnified and moved
    f.PAGSU();
    struct Expect {
        double x, y;
        int zone;
        const char* tip;
        const char* art;
    };
    const Expect points[] = {
        {8900, 3500, 0, "CLICCA PER GIRARE LA PAGINA AVANTI", "arrow-right"},
        {100, 3500, 1, "CLICCA PER GIRARE PAGINA INDIETRO", "arrow-left"},
        {4515, 6900, 2, "CLICCA PER SPOSTARE SU", "arrow-up"},
        {4515, 300, 3, "CLICCA PER SPOSTARE L'IMMAGINE GIU'", "arrow-down"},
    };
    for (const Expect& e : points) {
        QWidget* w = page.zoneAt(e.x, e.y);
        SCOPED_TRACE(e.zone);
        ASSERT_EQ(zoneIndex(f, w), e.zone);
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(e.tip));
        EXPECT_TRUE(sameCursor(w, e.art));
    }
}

TEST(HotZones, ClickReachesTheUppermostEnabledZone) {
    LoosePage page;
    BookForm& f = *page.form;
    // Only zone 4 lies at the centre of an unmagnified page (zone 5 is beneath, disabled).
    page.clickAt(4515, 3515);
    EXPECT_EQ(f.view.Magnified, True);
    // Now the disabled zone 4 lies over the enabled zone 5: the click reaches zone 5.
    page.clickAt(4515, 3515);
    EXPECT_EQ(f.view.Magnified, False);
    EXPECT_EQ(f.view.PanStep, 0);

    // Zone 7, never enabled, lies on top of the lower band: the band takes the click.
    f.Image8_Click(4);
    ASSERT_EQ(zoneIndex(f, page.zoneAt(4000, 5500)), 2);
    page.clickAt(4000, 5500);
    EXPECT_EQ(f.view.PanStep, 1);
    EXPECT_FLOAT_EQ(f.Image1->Top(), -1335);

    // Nothing enabled under the pointer: the viewing area itself, and nothing happens.
    f.LENTE0();
    EXPECT_EQ(page.zoneAt(4515, 6900), nullptr);
    const auto boxes = page.platform.boxes.size();
    page.clickAt(4515, 6900);
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_EQ(page.platform.boxes.size(), boxes);
}
