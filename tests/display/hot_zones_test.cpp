// The hot zones over a loose page: where IMMAGIN8 puts them, their enabled states, their cursors
// and tooltips, and which zone a click at a point of the viewing area reaches.
#include "resources/artwork.h"
#include "tests/support/viewer.h"

#include <QPixmap>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
using Zones = std::array<bool, 8>;

bool sameCursor(const QWidget* w, const char* art) {
    return w->testAttribute(Qt::WA_SetCursor) &&
           w->cursor().pixmap().toImage() ==
               artwork::cursor(QString::fromLatin1(art)).pixmap().toImage();
}
} // namespace

TEST(HotZones, ZonesArePlacedOverThePageAndSixAndSevenKeepTheirDesign) {
    Viewer v;
    v.showLoosePage();
    BookForm& f = *v.form;
    f.SCHERMO->setTop(600);
    f.Image1->setGeometry(2182, 15, 4666, 7000);
    f.view.PageWidth = 4666;
    const Zones before = v.zones();
    f.IMMAGIN8();
    // The rectangles of a page 4666 wide at Left 2182 in an area 7030 high at Top 600.
    EXPECT_NEAR(f.Image8[0]->Left(), 6459.17, 0.01);
    EXPECT_DOUBLE_EQ(f.Image8[0]->Top(), 1050);
    EXPECT_NEAR(f.Image8[2]->Width(), 4277.17, 0.01);
    EXPECT_DOUBLE_EQ(f.Image8[2]->Top(), 5272.5);
    EXPECT_NEAR(f.Image8[5]->Left(), 3737.33, 0.01);
    // The widgets take the nearest pixels of the rectangles.
    EXPECT_EQ(f.Image8[0]->widget()->geometry(), QRect(431, 70, 26, 469));
    EXPECT_EQ(QPointF(f.Image8[6]->Left(), f.Image8[6]->Top()), QPointF(1440, 750));
    EXPECT_EQ(QPointF(f.Image8[7]->Left(), f.Image8[7]->Top()), QPointF(1380, 5370));
    EXPECT_EQ(v.zones(), before);
}

TEST(HotZones, EnabledStatesFollowMagnifierAndPanning) {
    Viewer v;
    // The design states, as the window is created.
    const BookForm fresh(v.platform);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(fresh.Image8[i]->Enabled(), i < 2 || i == 4) << i;
    v.showLoosePage(); // 800 x 1200 pixels: magnified 13500 high, five steps down to the limit
    BookForm& f = *v.form;
    EXPECT_EQ(v.zones(), Zones({true, true, false, false, true, false, false, false}));
    f.LENTE1();
    EXPECT_EQ(v.zones(), Zones({true, true, true, false, false, true, false, false}));
    f.PAGSU(); // a full step
    EXPECT_EQ(v.zones(), Zones({true, true, true, true, false, true, false, false}));
    for (int i = 0; i < 4; ++i)
        f.PAGSU(); // the lower limit
    EXPECT_EQ(v.zones(), Zones({true, true, false, true, false, true, false, false}));
    f.PAGGIU(); // a step taken
    EXPECT_EQ(v.zones(), Zones({true, true, true, true, false, true, false, false}));
    f.view.PanStep = 0;
    f.PAGGIU(); // already at the top
    EXPECT_EQ(v.zones(), Zones({true, true, true, false, false, true, false, false}));
    f.LENTE0();
    EXPECT_EQ(v.zones(), Zones({true, true, false, false, true, false, false, false}));
    // The turn strips are left as they are by the magnifier and panning.
    f.Image8[0]->setEnabled(false);
    f.LENTE1();
    f.PAGSU();
    EXPECT_FALSE(f.Image8[0]->Enabled());
}

TEST(HotZones, EachZoneShowsItsTooltipAndCursor) {
    Viewer v;
    v.showLoosePage();
    BookForm& f = *v.form;
    const struct {
        double x, y;
        int zone;
        const char* tip;
        const char* art;
    } reduced[] = {{4515, 3515, 4, "LENTE", "lens"}},
      magnified[] = {
          {4515, 3515, 5, "TOGLI LENTE", "lens-off"},
          {8900, 3500, 0, "CLICCA PER GIRARE LA PAGINA AVANTI", "arrow-right"},
          {100, 3500, 1, "CLICCA PER GIRARE PAGINA INDIETRO", "arrow-left"},
          {4515, 6900, 2, "CLICCA PER SPOSTARE SU", "arrow-up"},
          {4515, 300, 3, "CLICCA PER SPOSTARE L'IMMAGINE GIU'", "arrow-down"},
      };
    const auto expectZones = [&](const auto& points) {
        for (const auto& p : points) {
            SCOPED_TRACE(p.zone);
            ASSERT_EQ(v.zoneAt(p.x, p.y), p.zone);
            const QWidget* w = f.Image8[p.zone]->widget();
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(p.tip));
            EXPECT_TRUE(sameCursor(w, p.art));
        }
    };
    expectZones(reduced);
    f.Image8_Click(4); // all four triangles are in reach once the page is magnified and moved
    f.PAGSU();
    expectZones(magnified);
    // The disabled lens zone above the crossed lens shows nothing of its own.
    EXPECT_TRUE(f.Image8[4]->widget()->toolTip().isEmpty());
    EXPECT_FALSE(f.Image8[4]->widget()->testAttribute(Qt::WA_SetCursor));
}

TEST(HotZones, ClickReachesTheUppermostEnabledZone) {
    Viewer v;
    v.showLoosePage();
    BookForm& f = *v.form;
    // Only zone 4 lies at the centre of an unmagnified page (zone 5 is beneath, disabled).
    v.clickAt(4515, 3515);
    EXPECT_EQ(f.view.Magnified, True);
    // Now the disabled zone 4 lies over the enabled zone 5: the click reaches zone 5.
    v.clickAt(4515, 3515);
    EXPECT_EQ(f.view.Magnified, False);
    EXPECT_EQ(f.view.PanStep, 0);
    // Zone 7, never enabled, lies on top of the lower band: the band takes the click.
    f.Image8_Click(4);
    ASSERT_EQ(v.zoneAt(4000, 5500), 2);
    v.clickAt(4000, 5500);
    EXPECT_EQ(f.view.PanStep, 1);
    EXPECT_FLOAT_EQ(f.Image1->Top(), -1335);
    // Nothing enabled under the pointer: the viewing area itself, and nothing happens.
    f.LENTE0();
    EXPECT_EQ(v.zoneAt(4515, 6900), -1);
    v.clickAt(4515, 6900);
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_EQ(v.newBoxes(), QStringList());
}
