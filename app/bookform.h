// The viewer's one window. Its state is the form-level variables below and the controls that
// serve as tables; its procedures take no arguments and work on that shared state. Each group
// of members is defined in the file named in its heading.
#pragma once

#include "app/text_rules.h"
#include "display/facing_pages.h"
#include "display/overview.h"
#include "display/read_ahead.h"
#include "display/zoom_control.h"
#include "panels/ink_panel.h"
#include "platform/controls.h"
#include "platform/data_lists.h"
#include "platform/image_control.h"
#include "platform/key_preview.h"
#include "platform/page_grid.h"
#include "platform/page_mouse.h"
#include "platform/platform.h"
#include "platform/scan_view.h"
#include "platform/selector.h"
#include "platform/timer.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace cvx {

class BookForm : public QWidget {
  public:
    explicit BookForm(Platform& platform, QWidget* parent = nullptr);
    ~BookForm() override;

    // The procedures' comments name the state each reads and writes, loop counters and scratch
    // texts aside.
    // ---- app/form_load.cpp: start-up sequence --------------------------------------------
    // Writes ProductBase, WorkFolderName, BookmarkPath, WorkImagePath, view; then Ricupero.
    void Form_Load();

    // ---- app/product_data.cpp: product data block -----------------------------------------
    // Reads ProductBase, File2; writes CoverArchiveName, CoverEntryNumber, List1, Combo2, titles.
    void CARICODATI();

    // ---- app/working_folder.cpp -----------------------------------------------------------
    // Reads WorkFolderName; makes its folder, an empty .lib and lab.jpg; points File2 there.
    void INSTALLO();

    // ---- app/fatal_exits.cpp --------------------------------------------------------------
    // Reads MessageText; shows it as the reason and ends the program.
    [[noreturn]] void ERRORE();
    // Reads Dir1; says a system file there is missing and ends the program.
    [[noreturn]] void USCITA1();

    // ---- archive/book_loading.cpp ---------------------------------------------------------
    // Writes ProgramFolder, LastArchiveIndex, BookmarkBook, BookmarkPage, place, view, Image4.
    void Ricupero();
    // Reads ProgramFolder, ArchivePath; writes List2; throws PageUnreadable if unreadable.
    void RIClistpg();

    // ---- archive/page_lookup.cpp ----------------------------------------------------------
    // Reads Combo1, the numbering fields, List2; writes CurrentPageIndex, PageLabel, PageNumber.
    void TrovoPagina();
    // Reads Combo1, List1; writes BookmarkPage, TypedNumber, place: opens the typed page.
    void TrovoLibro();
    // Reads CurrentPageIndex, List2; writes EntryName, PageOffset, PageLength.
    void CERCOPAGINA();

    // ---- archive/book_activation.cpp ------------------------------------------------------
    // Reads Combo2, List1, File2; writes the numbering fields, ArchivePath, List2, Combo1.
    void ATTIVAPAG();

    // ---- archive/page_restore.cpp ---------------------------------------------------------
    // Reads and writes PageData: restores the entry's scrambled head in place.
    void DECDPAG();

    // ---- display/page_loading.cpp ---------------------------------------------------------
    // Reads ArchivePath, PageOffset, PageLength; writes PageData, working image, Image1, view.
    void CARICOPAG();
    // Replaces the working image with PageData; throws PageUnreadable naming the file.
    void writeWorkImage();
    // The pages read ahead of the reader, decoded in the background.
    [[nodiscard]] ReadAhead& readAhead() { return *readAhead_; }
    // The viewing area's size and the screen's pixel ratio: what a page's shown size depends on.
    [[nodiscard]] shown::Area viewingArea() const;

    // ---- display/hot_zones.cpp ------------------------------------------------------------
    // Reads Image1, PageWidth, SCHERMO; writes the places and sizes of Image8(0..5).
    void IMMAGIN8();

    // ---- display/magnifier.cpp ------------------------------------------------------------
    // Reads the working image; writes Image1 magnified, view's fit, Image8(2..5) enabled.
    void LENTE1();
    // Reads the working image; writes Image1 fitted, view's fit, Image8(2..5) enabled states.
    void LENTE0();

    // ---- display/panning.cpp --------------------------------------------------------------
    // Reads PanStep, Image1; writes PanStepHeight, PanStep, Label8, Image1's place, Image8(2, 3).
    void PAGSU();
    // As PAGSU, one step the other way: the picture moves down, to the page's upper part.
    void PAGGIU();

    // ---- display/overview.cpp: the overview of a book's pages (F5) -------------------------
    [[nodiscard]] PageOverview& overview() { return *overview_; }
    // Ends a zoom and closes the overview: the window as its own commands find it.
    void backToPage();
    // Book `book`'s pages, from its archive's directory, and their labels.
    [[nodiscard]] std::vector<PageKey> bookPages(int book, QStringList* labels) const;

    // ---- panels/ink_panel.h: the aids for faded ink (F7) ---------------------------------
    // What Image1, ZoomView and the facing pages paint through, and the panel that sets it.
    [[nodiscard]] InkPanel& inkPanel() { return *inkPanel_; }
    [[nodiscard]] const InkFilter& inkFilter() const { return inkFilter_; }
    // ---- display/facing_pages.cpp: facing pages (F6) ---------------------------------------
    [[nodiscard]] FacingPages& facing() { return *facing_; }
    // A turn of the arrows, the wheel or a turning zone: by an opening while facing pages are
    // chosen (FacingPages::turnsByOpening), otherwise PagAvanti or PagIndietro.
    void turnPage(bool forward);

    // ---- display/zoom.cpp: beyond the presentation in force ------------------------------
    // Zooms `steps` steps in (positive) or out about `anchor`, device pixels of the viewing
    // area, up to twice the scan's own pixels; out to the presentation's scale ends the zoom.
    void zoomBy(int steps, QPointF anchor);
    // Shows the presentation in force again, as it was; nothing when the page is not zoomed.
    void endZoom();
    [[nodiscard]] bool zoomed() const { return zoom_->active(); }
    [[nodiscard]] const Zoom& zoom() const { return *zoom_; }
    // The centre of the viewing area, device pixels: where the keys zoom about.
    [[nodiscard]] QPointF viewCentre() const;

    // ---- navigation/page_turning.cpp ------------------------------------------------------
    // Reads Combo1, List2, Combo2; writes the place, Combo1: the next page, book or stays at end.
    void PagAvanti();
    // Reads Combo1, List2, Combo2; writes the place, Combo1: the previous page or book.
    void PagIndietro();
    // Reads Combo2; writes CurrentBookIndex, PageLabel, PageNumber: next book, first page.
    void AVANTLIBRO();
    // Reads Combo2; writes CurrentBookIndex, PageLabel, PageNumber: previous book, last page.
    void INDIETLIBRO();

    // ---- navigation/mouse_dispatch.cpp ----------------------------------------------------
    // Zone `index`: a turn, a pan step, or Magnified (and PanStep) set and LENTE1/LENTE0.
    void Image8_Click(std::int16_t index);

    // ---- navigation/keyboard.cpp ----------------------------------------------------------
    // Reads Picture1, Picture7, Magnified; writes Magnified, PanStep; runs the key's command.
    void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);
    // Whether key `keyCode` does anything in the window's present state.
    [[nodiscard]] bool keyActs(std::int16_t keyCode) const;

    // ---- navigation/page_wheel.cpp --------------------------------------------------------
    // The wheel over the page asked for `steps`, with `modifiers`, at `at` device pixels.
    void wheelOverPage(WheelSteps steps, Qt::KeyboardModifiers modifiers, QPointF at);
    // Whether a left-button drag that has moved `moved` device pixels pans the page.
    [[nodiscard]] bool takePageDrag(QPointF moved);

    // ---- navigation/selectors.cpp ---------------------------------------------------------
    // Reads Combo1; writes the page fields, PageData, PanStep, Label8: shows the page chosen.
    void Combo1_Click();
    // Reads Combo1; keyAscii 0 unless a digit, '.' (','), Backspace, to 5 chars; Enter: Picture5.
    void Combo1_KeyPress(int& keyAscii);
    // Reads Combo2; writes the place and Combo1 (ATTIVAPAG): the book at its first page.
    void Combo2_Click();
    // Writes keyAscii = Enter: typing never changes the book.
    void Combo2_KeyPress(int& keyAscii);
    // Hides Picture1; runs TrovoLibro on Combo1's text.
    void Picture5_Click();

    // ---- panels/printing.cpp --------------------------------------------------------------
    // Reads Image1, the printer; writes Picture4, MessageText, NoticeText; prints if confirmed.
    void Command2_Click();
    // As Command2_Click.
    void Image10_Click();

    // ---- panels/instructions.cpp ----------------------------------------------------------
    // Reads Picture1; opens or closes the instructions (Picture1, Image2, selectors enabled).
    void Image2_Click(std::int16_t index);
    // Closes the instructions: hides Picture1, enables the selectors and Picture5.
    void Image14_Click();
    // Writes Image7's visibility and Label4: topic `index`'s pointer and text.
    void Option1_Click(std::int16_t index);

    // ---- panels/closing.cpp ---------------------------------------------------------------
    // Disables Image8(0..5), shows Picture7, writes CountdownTicks = 80, starts Timer1.
    void Command1_Click();
    // As Command1_Click.
    void Image11_Click();
    // Reads and writes CountdownTicks; writes Shape2, Label11; at 0 answers NO.
    void Timer1_Timer();
    // Stops Timer1; 0 saves the place in BookmarkPath, 1 empties it, both end; 2 resumes reading.
    void Image13_Click(std::int16_t index);
    // Writes cancel = True; unless unloadMode is 2 (a session saved or ending), opens Picture7.
    void Form_QueryUnload(std::int16_t& cancel, std::int16_t unloadMode);

    // ---- panels/banner.cpp ----------------------------------------------------------------
    // Shows Picture9; writes BannerTicks = 90, Shape1, Label9; starts Timer2.
    void Image15_Click();
    // Reads and writes BannerTicks; writes Shape1, Label9; at 0 hides Picture9, stops Timer2.
    void Timer2_Timer();
    // Hides Picture9; the countdown goes on and stops itself.
    void Picture9_Click();

    // ==== The window's state, grouped by the subsystem that owns it ===========================
    // Every procedure works on these members; none carries meaning from one procedure to the
    // next unless its comment says so. Texts from volumes keep their carriage returns (code 13).

    // ---- Start-up, the product data block and the working folder (app/) ------------------------
    double ProductBase = 0; // where the product data block's slot grid ends, in Cartavox.exe
    QString WorkFolderName; // the working folder's eight characters, untrimmed
    QString BookmarkPath;   // the bookmark file, which keeps the reader's place at closing
    QString WorkImagePath;  // the working image: every page is restored into it, then shown
    QString MessageText;    // the text of the next fatal message (ERRORE), or a word

    // ---- Book archives and the remembered place (archive/book_loading.cpp) --------------------
    QString ProgramFolder;             // the volume's folder: Cartavox.exe and the book archives
    std::int16_t LastArchiveIndex = 0; // position of the last book archive (their count - 1)
    QString BookmarkBook;              // the book position read from the bookmark file, as text
    FixedText<4> BookmarkPage;         // the page position read from it; scratch for TrovoLibro
    QString CoverArchiveName;          // "dv" + five characters + ".ex_": the cover's archive
    QString CoverEntryNumber;          // decimal text: the cover's directory entry in it
    QString CoverEntryName;            // the first five characters of the cover's directory slot
    QByteArray PageData;               // an entry's bytes as read, restored in place, then written

    // ---- The reading place: the current book and page (archive/) ------------------------------
    struct Place {
        QString ArchivePath;            // file name of the current book's archive
        std::int16_t NumberingKind = 0; // 0 sheets (sides s and d), 1 pages, 2 two-page openings
        FixedText<1> FirstSide;         // "D" (any case): the book's first page is on the right
        std::int16_t FirstNumber = 0;   // the book's first sheet or page number
        int CurrentBookIndex = 0;       // the book's position in Combo2, taken from it before use
        std::int16_t CurrentPageIndex = 0; // the page's position in List2 and Combo1 (-1 or the
                                           // count after a step past an end, until corrected)
        FixedText<4> PageLabel;            // the label of the current or wanted page
        std::int16_t PageNumber = 0;       // the numeric value of PageLabel
        QString EntryName;                 // the first five characters of the page's directory slot
        QString PageOffset;                // decimal text: 1-based position of the page's data
        QString PageLength;                // decimal text: length in bytes of the page's data
    } place;

    // ---- The typed page number (archive/page_lookup.cpp) --------------------------------------
    std::int16_t TypedNumber = 0; // the last number typed into the page selector; never reset
    QString NoticeText;           // the notice that a typed number matches no page

    // ---- How the page is shown: its fit, the magnifier and the pan (display/) -----------------
    struct Presentation {
        double PageWidth = 0;     // width at which the picture is displayed, twips
        double PageHeight = 0;    // height at which the picture is displayed, twips
        float WidthRatio = 0;     // the picture's natural width / the width available for it
        float HeightRatio = 0;    // the picture's natural height / the height available for it
        float PageScale = 0;      // divisor from the picture's natural size to its displayed size
        Flag Magnified = False;   // True while the page is magnified to the screen's width
        std::int16_t PanStep = 0; // steps the magnified page has moved up; 0 at the top (Label8)
        float PanStepHeight = 0;  // one pan step: a tenth of the page image's height, twips
    } view;

    // ---- The closing panel's and the banner's countdowns (panels/) ----------------------------
    int CountdownTicks = 0;       // ticks of 200 ms left before the closing panel answers NO
    std::int16_t BannerTicks = 0; // ticks of 200 ms left before the credits banner hides

    // ==== Controls (app/form_design.cpp creates them at their design places) =================
    // Tables, never shown; their items run parallel: book i is item i of File2, List1 and Combo2,
    // page j of the current book item j of List2 and Combo1.
    FileListBox File2{QStringLiteral("dv?????.ex_")}; // the volume's book archives, in name order
    HiddenList List1;                                 // the book records of the product data block
    HiddenList List2; // the directory slot texts of the current book
    DirListBox Dir1;  // the current folder at start-up
    DirListBox Dir2;  // resolves the working folder when it is made

    // Viewing area and what lies in it, bottom to top: Image1, Image8(5..0), Image6, Image5,
    // Image8(6), Image8(7).
    std::unique_ptr<PictureBox> SCHERMO;  // the viewing area, below the header band
    std::unique_ptr<ImageControl> Image1; // the page picture
    // The hot zones over the page: 0 turn forward, 1 turn back, 2 and 6 move the page up, 3 and 7
    // move it down, 4 magnify, 5 reduce; each with its pointer and tooltip.
    std::array<std::unique_ptr<ImageControl>, 8> Image8;
    std::unique_ptr<ImageControl> Image5; // the picture shown while a page turns back
    std::unique_ptr<ImageControl> Image6; // the picture shown while a page turns forward
    std::unique_ptr<ScanView> ZoomView;   // the zoomed page, over everything in the area
    std::unique_ptr<PageGrid> Overview;   // the overview of a book's pages, above all

    // Header band (volume titles) and tool band (selectors and buttons)
    std::unique_ptr<PictureBox> Picture8;         // the header band at the top left
    std::array<std::unique_ptr<Label>, 2> Label5; // the volume's title and its second line
    std::unique_ptr<Label> Label7;                // the volume's year
    std::unique_ptr<PictureBox> Picture3;         // the tool band at the top right
    std::unique_ptr<Label> Label8;                // the pan position, PanStep
    std::unique_ptr<Selector> Combo1;             // the page selector: the current book's labels
    std::unique_ptr<Selector> Combo2;             // the book selector: the volume's book labels
    std::unique_ptr<PictureBox> Picture5;         // the Enter picture: looks the typed number up
    std::unique_ptr<CommandButton> Command1;      // "FINE": opens the closing panel
    std::unique_ptr<CommandButton> Command2;      // "STAMPA": prints the current sheet
    std::unique_ptr<ImageControl> Image10;        // the printer picture: prints, as Command2
    std::unique_ptr<ImageControl> Image11;        // the red cross: opens the closing panel
    std::unique_ptr<ImageControl> Image15;        // opens the credits banner
    std::array<std::unique_ptr<ImageControl>, 2>
        Image2; // the instructions' toggle: 0 open, 1 close

    // Instructions panel
    std::unique_ptr<PictureBox> Picture1;  // the panel; covers everything below the top band
    std::unique_ptr<PictureBox> Picture2;  // the frame of the texts, topics and screen size
    std::unique_ptr<PictureBox> Picture6;  // the panel's top right corner
    std::unique_ptr<PictureBox> Picture10; // the panel's heading
    std::unique_ptr<ImageControl> Image3;  // the logo at the panel's top right
    std::unique_ptr<ImageControl> Image4;  // the volume's cover picture, fitted into its box
    std::unique_ptr<ImageControl> Image14; // the F3 picture: closes the panel
    // The pointer pictures over the cover: 0 lens, 1 right, 2 left, 3 up, 4 down, 5 lens off.
    std::array<std::unique_ptr<ImageControl>, 6> Image7;
    std::unique_ptr<Label> Label2;                        // the preliminary note
    std::unique_ptr<Label> Label3;                        // the caption "definizione SCHERMO:"
    std::unique_ptr<Label> Label4;                        // the chosen topic's text
    std::unique_ptr<Label> Label10;                       // the screen's size in pixels
    std::unique_ptr<Label> Label12;                       // the caption "per TERMINARLE premere F3"
    std::unique_ptr<Frame> Frame1;                        // the topics' frame, "ISTRUZIONI"
    std::unique_ptr<Frame> Frame2;                        // the note's frame, "NOTE Preliminari"
    std::array<std::unique_ptr<OptionButton>, 8> Option1; // the eight topics

    // Closing panel
    std::unique_ptr<PictureBox> Picture7;                 // the panel: keep the place or not
    std::array<std::unique_ptr<ImageControl>, 3> Image13; // click areas over SI, NO, Annulla
    std::unique_ptr<Shape> Shape2;                        // the countdown bar
    std::unique_ptr<Label> Label11;                       // the countdown's seconds digit
    Timer Timer1;                                         // the countdown's ticks

    // Credits banner
    std::unique_ptr<PictureBox> Picture9;         // the banner
    std::array<std::unique_ptr<Label>, 5> Label1; // the volume's five heading texts
    std::array<std::unique_ptr<Label>, 3> Label6; // captions: 0 "nel", 1 "Stampato in", 2 "Editore"
    std::unique_ptr<Shape> Shape1;                // the banner's countdown bar
    std::unique_ptr<Label> Label9;                // the banner's countdown digit
    Timer Timer2;                                 // the banner's countdown ticks

    // Printing: never shown; it takes the size of the picture given to it, the print's source size
    std::unique_ptr<ImageControl> Picture4;

    // ---- The window itself (app/form_window.cpp) -------------------------------------------
    [[nodiscard]] double Width() const { return formWidth_; }
    [[nodiscard]] double Height() const { return formHeight_; }
    void MoveForm(double left, double top);
    void setFormSize(double width, double height);
    // Makes the window visible and active.
    void showWindow();
    // The key-preview flag set at the end of start-up and after every change of book.
    void setKeyPreview(bool on) { keyPreview_->setEnabled(on); }
    [[nodiscard]] bool keyPreview() const { return keyPreview_->enabled(); }
    // Moves the keyboard focus to the viewing area.
    void focusViewingArea();

    [[nodiscard]] Platform& platform() const { return platform_; }

    // Runs `handler` as one event of the window (see Dispatch). A handler called from inside
    // another (a selector's click run by an assignment) simply runs. When an event meets a
    // PageUnreadable, its message is shown and the reading place as it was before the event is
    // put back, so the viewer stays on the page it showed.
    void handleEvent(const std::function<void()>& handler);

  protected:
    // A close request of the window manager (Alt+F4, the close button) runs Form_QueryUnload.
    void closeEvent(QCloseEvent* event) override;

  private:
    // ---- app/accessibility.cpp ---------------------------------------------------------------
    // Names and describes every control a reader operates, in Italian.
    void describeControls();
    // "Libro <label>, pagina <label>" for the page shown; empty when none is.
    [[nodiscard]] QString pageAnnouncement() const;
    // Gives the viewing area the page's announcement as its name when the page has changed.
    void announcePage();

    // ---- app/form_design.cpp ---------------------------------------------------------------
    void createControls();
    void createViewingArea();
    void createBands();
    void createInstructionsPanel();
    void createClosingPanel();
    void createBanner();
    void connectHandlers();
    // The wheel and drags over the page and over the zoomed page.
    void connectPageMouse();
    void decorate(std::unique_ptr<Control> control);

    // ---- app/screen_layout.cpp: steps of Form_Load -----------------------------------------
    void checkScreen();
    void layoutFirstGroup();
    void layoutSecondGroup();

    // ---- panels/instructions.cpp: step 12 of Form_Load, opening and closing the panel ------
    void fillInstructionTexts();
    void openInstructions();
    void closeInstructions();

    // ---- archive/book_loading.cpp: steps of Ricupero -----------------------------------------
    void takeBookmark();
    void selectRememberedBook();
    void probeFirstEntry();
    void prepareCover();
    void loadCover();
    void openRememberedPage();

    // ---- archive/book_activation.cpp: a book's numbering fields and page labels ---------------
    void takeNumbering(int book);
    void fillPageLabels();

    // ---- archive/page_lookup.cpp ------------------------------------------------------------
    // Has the page the typed number asks for in the book at ArchivePath decoded in the
    // background while the event opens that book at its first page on the way.
    void expectTypedPage();

    // ---- display/page_loading.cpp: an entry's picture and the working image -------------------
    // Reads the entry at PageOffset/PageLength of `archiveName` into PageData, restores it and
    // checks that it is a picture; throws PageUnreadable(failure) otherwise.
    Picture readEntryPicture(const QString& archiveName, const QString& failure);
    // What this window last wrote into the working image (none before the first write): put
    // back after a failed write without reading the file first, and written again before the
    // magnifier reads the file back when another viewer of the volume has written over it.
    std::optional<QByteArray> workImageHeld_;
    // Gives `image` the picture at the size of `placement` (Stretch on) and records the fit in
    // view; the caller moves it to its place.
    void showPlaced(ImageControl& image, const Picture& picture, const shown::Placement& placement);
    // The entry of the page being loaded or shown, and what its shown size depends on.
    [[nodiscard]] PageKey shownPageKey() const;
    [[nodiscard]] PageView pageView() const;
    // `read` decoded at `pixels`: the decode read ahead from the same bytes when there is one,
    // otherwise `read` decoded now and kept for the page shown.
    [[nodiscard]] Picture readyPicture(const Picture& read, QSize pixels);
    // Has the pages a turn can show next prepared in the background, nearest first.
    void readAround();
    [[nodiscard]] std::optional<PageKey> pageKeyAt(int index) const;
    // The first or last page of book `book`, from its archive's directory.
    [[nodiscard]] std::optional<PageKey> bookPageKey(int book, bool lastPage) const;
    // The slot texts of book `book`'s directory (only the first with `whole` false) as its
    // activation reads them, and the archive's path; none when it cannot be read.
    [[nodiscard]] QStringList bookDirectory(int book, bool whole, QString* path) const;
    std::unique_ptr<ReadAhead> readAhead_ = std::make_unique<ReadAhead>();

    // ---- display/overview.cpp ----------------------------------------------------------------
    std::unique_ptr<PageOverview> overview_; // made with its grid

    // ---- panels/ink_panel.h -------------------------------------------------------------------
    InkFilter inkFilter_;                // the aids in force; shown pictures only
    std::unique_ptr<InkPanel> inkPanel_; // made with the viewing area, above all in it
    // ---- display/facing_pages.cpp: reads the place and loads pages as the loaders do ----------
    friend class FacingPages;
    std::unique_ptr<FacingPages> facing_; // made with the viewing area

    // ---- navigation/page_wheel.cpp -------------------------------------------------------------
    bool wheelAtEnd_ = false; // this wheel gesture has met the volume's end

    // ---- display/zoom.cpp --------------------------------------------------------------------
    // The page as presented, for a zoom to start from; none when no page is shown.
    [[nodiscard]] std::optional<ZoomStart> zoomStart();
    void zoomWheel(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at);
    void zoomDrag(QPointF delta);
    // The wheel over the page, not zoomed: a turn fitted, a pan step magnified, a zoom with Ctrl.
    void pageWheel(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at);
    // A drag over the magnified page moves it by whole pan steps; false when not magnified.
    [[nodiscard]] bool startPageDrag();
    void pageDrag(QPointF delta);
    int wheelAngle_ = 0;  // eighths of a degree of wheel not yet a whole notch
    double dragRest_ = 0; // device pixels of a drag not yet a whole pan step

    // ---- app/reading_place.cpp --------------------------------------------------------------
    struct ReadingPlace;
    [[nodiscard]] std::shared_ptr<ReadingPlace> saveReadingPlace() const;
    void restoreReadingPlace(const ReadingPlace& place);

    Platform& platform_;
    KeyPreview* keyPreview_ = nullptr;
    std::vector<std::unique_ptr<Control>> decorations_; // artwork and fixed captions
    double formLeft_ = 0, formTop_ = 0, formWidth_ = 0, formHeight_ = 0;
    // The zoom, over the page in ZoomView; declared last, so that its decoding thread is stopped
    // before anything it posts to.
    std::unique_ptr<Zoom> zoom_;
};

} // namespace cvx
