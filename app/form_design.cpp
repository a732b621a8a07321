// The window's design: every control at its design place, with its tooltip, cursor and
// stacking order, and each control's events wired to its handler.
#include "app/bookform.h"

#include "platform/page_mouse.h"
#include "resources/artwork.h"

namespace cvx {

namespace {
const QColor kViewingArea(64, 60, 56);
const QColor kBand(236, 228, 206);
const QColor kPanel(246, 240, 224);

struct ZoneDesign {
    double left, top, width, height;
    const char* tip;
    const char* cursor;
    bool enabled;
};
// Design places, tooltips and cursors of the hot zones Image8(0) to Image8(7).
const ZoneDesign kZones[8] = {
    {7530, 90, 1275, 6795, "CLICCA PER GIRARE LA PAGINA AVANTI", "arrow-right", true},
    {0, 180, 1185, 6765, "CLICCA PER GIRARE PAGINA INDIETRO", "arrow-left", true},
    {1410, 6150, 5775, 795, "CLICCA PER SPOSTARE SU", "arrow-up", false},
    {1440, 30, 5775, 675, "CLICCA PER SPOSTARE L'IMMAGINE GIU'", "arrow-down", false},
    {2490, 2100, 3705, 2955, "LENTE", "lens", true},
    {2790, 1890, 3075, 3345, "TOGLI LENTE", "lens-off", false},
    {1440, 750, 5775, 675, "CLICCA PER SPOSTARE L'IMMAGINE SU'", "arrow-up", false},
    {1380, 5370, 5775, 675, "CLICCA PER SPOSTARE L'IMMAGINE GIU'", "arrow-down", false},
};

std::unique_ptr<ImageControl> zone(QWidget* parent, const ZoneDesign& d) {
    auto z = std::make_unique<ImageControl>(parent);
    z->setGeometry(d.left, d.top, d.width, d.height);
    z->setToolTipText(QString::fromUtf8(d.tip));
    z->setMouseIcon(artwork::cursor(QString::fromLatin1(d.cursor)));
    z->setEnabled(d.enabled);
    return z;
}

std::unique_ptr<ImageControl> picture(QWidget* parent, const QString& art, double left, double top,
                                      double width, double height) {
    auto image = std::make_unique<ImageControl>(parent);
    image->setStretch(true);
    image->setGeometry(left, top, width, height);
    image->setArtwork(artwork::image(art, QSize(twipsToPixels(width), twipsToPixels(height)) * 2));
    return image;
}

std::unique_ptr<Label> label(QWidget* parent, const QString& caption, double left, double top,
                             double width, double height) {
    auto l = std::make_unique<Label>(parent, caption);
    l->setGeometry(left, top, width, height);
    return l;
}
} // namespace

void BookForm::decorate(std::unique_ptr<Control> control) {
    // Decorations never take the mouse: clicks reach the control beneath.
    control->widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    decorations_.push_back(std::move(control));
}

void BookForm::createControls() {
    createViewingArea();
    createBands();
    createInstructionsPanel();
    createClosingPanel();
    createBanner();
    Picture4 = std::make_unique<ImageControl>(this); // never given the ink aids: prints as is
    Picture4->setVisible(false);
    // The aids' panel gives way to what covers the page and takes the keys.
    for (QWidget* cover : {Picture1->widget(), Picture7->widget(), Overview->widget()})
        inkPanel_->closeUnder(cover);
}

void BookForm::createViewingArea() {
    SCHERMO = std::make_unique<PictureBox>(this, kViewingArea);
    SCHERMO->widget()->setFocusPolicy(Qt::StrongFocus);
    QWidget* area = SCHERMO->widget();
    // Created bottom to top: later siblings lie above earlier ones.
    Image1 = std::make_unique<ImageControl>(area);
    Image1->setGeometry(60, 0, 8535, 6975);
    Image1->setEnabled(false); // the page itself never reacts to the mouse
    facing_ = std::make_unique<FacingPages>(*this, area, kViewingArea);
    for (int i = 5; i >= 0; --i)
        Image8[i] = zone(area, kZones[i]);
    Image6 = picture(area, QStringLiteral("turn-forward"), 0, 0, 3600, 2700);
    Image5 = picture(area, QStringLiteral("turn-back"), 0, 0, 3600, 2700);
    Image6->setVisible(false);
    Image5->setVisible(false);
    Image8[6] = zone(area, kZones[6]);
    Image8[7] = zone(area, kZones[7]);
    // Above everything in the area, shown only while the page is zoomed, and the overview.
    ZoomView = std::make_unique<ScanView>(area, kViewingArea);
    ZoomView->setVisible(false);
    Overview = std::make_unique<PageGrid>(area, kViewingArea);
    Overview->setVisible(false);
    overview_ = std::make_unique<PageOverview>(*this, *Overview);
    Image1->setInkFilter(inkFilter_);
    ZoomView->setInkFilter(inkFilter_);
    for (const int side : {0, 1})
        facing_->page(side).setInkFilter(inkFilter_);
    inkPanel_ = std::make_unique<InkPanel>(area, inkFilter_);
}

void BookForm::createBands() {
    Picture8 = std::make_unique<PictureBox>(this, kBand);
    Picture8->setGeometry(0, 30, 8565, 375);
    Label5[0] = label(Picture8->widget(), {}, 2580, 150, 2685, 225);
    Label5[1] = label(Picture8->widget(), {}, 5340, 150, 2595, 225);
    Label7 = label(Picture8->widget(), {}, 8040, 150, 495, 225);

    // The tool band's left part lies over the header on narrow screens: it stays transparent.
    Picture3 = std::make_unique<PictureBox>(this);
    Picture3->setGeometry(0, 30, 16515, 315);
    QWidget* band = Picture3->widget();
    Image15 = picture(band, QStringLiteral("credits"), 6000, 0, 375, 315);
    Image15->setToolTipText(QStringLiteral("Cartavox"));
    Image2[0] = picture(band, QStringLiteral("question"), 6450, 0, 375, 315);
    Image2[0]->setToolTipText(QStringLiteral("ISTRUZIONI"));
    Image2[1] = picture(band, QStringLiteral("question-close"), 6450, 0, 375, 315);
    Image2[1]->setToolTipText(QStringLiteral("CHIUDI ISTRUZIONI"));
    Image2[1]->setVisible(false);
    Image10 = picture(band, QStringLiteral("printer"), 6900, 0, 375, 315);
    Image10->setToolTipText(QStringLiteral("STAMPA"));
    Command2 = std::make_unique<CommandButton>(band, QStringLiteral("STAMPA"));
    Command2->setGeometry(7320, 0, 975, 315);
    Image11 = picture(band, QStringLiteral("fine"), 8360, 0, 375, 315);
    Image11->setToolTipText(QStringLiteral("CHIUDO IL PROGRAMMA"));
    Command1 = std::make_unique<CommandButton>(band, QStringLiteral("FINE"));
    Command1->setGeometry(8780, 0, 735, 315);
    Command1->setToolTipText(QStringLiteral("CHIUDO IL PROGRAMMA"));
    Label8 = label(band, QStringLiteral("0"), 9540, 30, 345, 225);
    Combo2 = std::make_unique<Selector>(band);
    Combo2->setGeometry(9900, 0, 3255, 315);
    Combo2->setToolTipText(QStringLiteral("SCELGO IL LIBRO"));
    Combo1 = std::make_unique<Selector>(band);
    Combo1->setGeometry(13200, 0, 1425, 315);
    Combo1->setToolTipText(QStringLiteral("SELEZIONO PAGINA "));
    Picture5 = std::make_unique<PictureBox>(band);
    Picture5->setGeometry(13800, 30, 525, 255);
    decorate(picture(Picture5->widget(), QStringLiteral("enter"), 0, 0, 525, 255));
}

void BookForm::createInstructionsPanel() {
    Picture1 = std::make_unique<PictureBox>(this, kPanel);
    QWidget* panel = Picture1->widget();
    Picture2 = std::make_unique<PictureBox>(panel);
    Picture2->setGeometry(0, 780, 15360, 10360);
    QWidget* inner = Picture2->widget();
    Image4 = std::make_unique<ImageControl>(inner);
    for (auto& pointer : Image7)
        pointer = std::make_unique<ImageControl>(inner);
    const char* pointerArt[6] = {"lens",     "arrow-right", "arrow-left",
                                 "arrow-up", "arrow-down",  "lens-off"};
    for (int i = 0; i < 6; ++i) {
        Image7[i]->setStretch(true);
        Image7[i]->setGeometry(0, 0, 480, 480);
        Image7[i]->setArtwork(artwork::image(QString::fromLatin1(pointerArt[i]), QSize(64, 64)));
        Image7[i]->setVisible(false);
    }
    Label3 = label(inner, QStringLiteral("definizione SCHERMO:"), 8700, 120, 2805, 315);
    Label10 = label(inner, {}, 11550, 120, 2865, 315);
    Frame2 = std::make_unique<Frame>(inner, QStringLiteral("NOTE Preliminari"));
    Frame2->setGeometry(8610, 510, 6645, 3555);
    Label2 = label(Frame2->widget(), {}, 90, 270, 6525, 3225);
    Frame1 = std::make_unique<Frame>(inner, QStringLiteral("ISTRUZIONI"));
    Frame1->setGeometry(8610, 4140, 6645, 6165);
    QWidget* topics = Frame1->widget();
    Label12 = label(topics, QStringLiteral("per TERMINARLE premere F3"), 2610, 0, 3855, 315);
    Image14 = picture(topics, QStringLiteral("f3-close"), 1900, 0, 600, 315);
    Image14->setToolTipText(QStringLiteral("Uscita Istruzuini"));
    const char* captions[8] = {"come      SELEZIONARE UN LIBRO dall'ELENCO",
                               "come      VOLTARE in AVANTI",
                               "/ INDIETRO la PAGINA",
                               "come      INGRANDIRE",
                               "come      SPOSTARE in ALTO",
                               "/ in BASSO la PAGINA",
                               "come      ANDARE DIRETTAMENTE AD UNA PAGINA",
                               "/  RIDURRE LA PAGINA"};
    const double places[8][3] = {{60, 360, 6405},  {60, 900, 3465},   {3570, 900, 2895},
                                 {60, 1170, 3465}, {60, 1440, 3465},  {3570, 1440, 2895},
                                 {60, 630, 6405},  {3570, 1170, 2895}};
    for (int i = 0; i < 8; ++i) {
        Option1[i] = std::make_unique<OptionButton>(topics, QString::fromUtf8(captions[i]));
        Option1[i]->setGeometry(places[i][0], places[i][1], places[i][2], 225);
    }
    Label4 = label(topics, {}, 60, 1740, 6405, 4335);
    Picture6 = std::make_unique<PictureBox>(panel);
    Picture6->setGeometry(0, 30, 6120, 705);
    Picture10 = std::make_unique<PictureBox>(panel);
    Picture10->setGeometry(2580, 120, 6045, 615);
    decorate(label(Picture10->widget(), QStringLiteral("ISTRUZIONI PER LA CONSULTAZIONE"), 0, 120,
                   6045, 375));
    Image3 = picture(panel, QStringLiteral("logo"), 0, 30, 705, 705);
    Picture1->setVisible(false);
}

void BookForm::createClosingPanel() {
    Picture7 = std::make_unique<PictureBox>(this, kPanel);
    Picture7->setGeometry(0, 0, 4725, 3045);
    QWidget* panel = Picture7->widget();
    decorate(picture(panel, QStringLiteral("closing-panel"), 0, 0, 4725, 3045));
    Shape2 = std::make_unique<Shape>(panel, QColor(176, 40, 32));
    Shape2->setGeometry(360, 2040, 4000, 150);
    Label11 = label(panel, QStringLiteral("8"), 1680, 2520, 240, 255);
    for (int i = 0; i < 3; ++i) {
        Image13[i] = std::make_unique<ImageControl>(panel);
        Image13[i]->setGeometry(2100 + 870 * i, 2460, 780, 375);
    }
    Picture7->setVisible(false);
}

void BookForm::createBanner() {
    Picture9 = std::make_unique<PictureBox>(this, kPanel);
    Picture9->setGeometry(0, 0, 9795, 1095);
    QWidget* banner = Picture9->widget();
    QFont credits = banner->font(); // the credit lines are 13 pixels high
    credits.setPixelSize(11);
    banner->setFont(credits);
    decorate(picture(banner, QStringLiteral("banner"), 0, 0, 9795, 1095));
    Label1[0] = label(banner, {}, 60, 360, 4785, 195);
    Label1[1] = label(banner, {}, 60, 570, 4785, 195);
    Label6[2] = label(banner, QStringLiteral("Editore"), 4950, 360, 645, 225);
    Label1[2] = label(banner, {}, 5580, 360, 4095, 195);
    Label6[1] = label(banner, QStringLiteral("Stampato in"), 4920, 570, 1095, 195);
    Label1[3] = label(banner, {}, 5970, 570, 2745, 195);
    Label6[0] = label(banner, QStringLiteral("nel"), 8760, 570, 375, 195);
    Label1[4] = label(banner, {}, 9120, 570, 555, 195);
    Shape1 = std::make_unique<Shape>(banner, QColor(176, 40, 32));
    Shape1->setGeometry(300, 900, 9200, 90);
    Label9 = label(banner, QStringLiteral("9"), 9540, 840, 195, 225); // at the bar's right end
    // A click anywhere on the banner hides it: its texts and bar let the mouse through.
    for (QWidget* child : banner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    Picture9->setVisible(false);
}

void BookForm::connectHandlers() {
    // Every click is a command of the window's own: it ends a zoom and the overview first.
    auto wire = [this](Control& control, std::function<void()> handler) {
        control.onClick = [this, handler] {
            handleEvent([&] {
                backToPage();
                handler();
            });
        };
    };
    for (std::int16_t i = 0; i < 8; ++i)
        wire(*Image8[i], [this, i] { i < 2 ? turnPage(i == 0) : Image8_Click(i); });
    for (std::int16_t i = 0; i < 2; ++i)
        wire(*Image2[i], [this, i] { Image2_Click(i); });
    for (std::int16_t i = 0; i < 8; ++i)
        wire(*Option1[i], [this, i] { Option1_Click(i); });
    for (std::int16_t i = 0; i < 3; ++i)
        wire(*Image13[i], [this, i] { Image13_Click(i); });
    wire(*Combo1, [this] { Combo1_Click(); });
    wire(*Combo2, [this] { Combo2_Click(); });
    // A pick changes the selection inside its event, so a failed pick puts it back.
    Combo1->onPick = [this](int i) {
        handleEvent([this, i] {
            backToPage();
            Combo1->setListIndex(i);
        });
    };
    // Picked while the overview is open, a book only shows its pages there.
    Combo2->onPick = [this](int i) {
        handleEvent([this, i] {
            if (overview_->isOpen())
                return overview_->showBook(i);
            endZoom();
            facing_->leave();
            Combo2->setListIndex(i);
        });
    };
    Overview->onChoose = [this](int page) { handleEvent([&] { overview_->openPage(page); }); };
    Overview->onScroll = [this] { overview_->followView(); };
    wire(*Picture5, [this] { Picture5_Click(); });
    wire(*Command1, [this] { Command1_Click(); });
    wire(*Command2, [this] { Command2_Click(); });
    wire(*Image10, [this] { Image10_Click(); });
    wire(*Image11, [this] { Image11_Click(); });
    wire(*Image14, [this] { Image14_Click(); });
    wire(*Image15, [this] { Image15_Click(); });
    wire(*Picture9, [this] { Picture9_Click(); });
    // Key-press handlers run as the events of the keys that carry them (Enter in the page
    // selector looks a page up and shows it).
    Combo1->onKeyPress = [this](int& code) { handleEvent([&] { Combo1_KeyPress(code); }); };
    Combo2->onKeyPress = [this](int& code) { handleEvent([&] { Combo2_KeyPress(code); }); };
    Timer1.onTimer = [this] { handleEvent([this] { Timer1_Timer(); }); };
    Timer2.onTimer = [this] { handleEvent([this] { Timer2_Timer(); }); };
    connectPageMouse();
}

void BookForm::connectPageMouse() {
    auto* mouse = new PageMouse(SCHERMO->widget());
    for (const auto& zone : Image8)
        mouse->watch(zone->widget());
    mouse->watch(ZoomView->widget()); // its wheel too: one rule for the wheel over the page
    mouse->onWheel = [this](WheelSteps steps, Qt::KeyboardModifiers modifiers, QPointF at) {
        handleEvent([&] { wheelOverPage(steps, modifiers, at); });
    };
    mouse->onDragStart = [this](QPointF moved) { return takePageDrag(moved); };
    mouse->onDrag = [this](QPointF delta) { handleEvent([&] { pageDrag(delta); }); };
    ZoomView->onDrag = [this](QPointF delta) { handleEvent([&] { zoomDrag(delta); }); };
}

} // namespace cvx
