// What screen readers say of the window: an Italian name and description for every control a
// reader operates, and each page shown announced by its book and label.
#include "app/bookform.h"

#include <QAccessible>

namespace cvx {

namespace {
struct Description {
    const char* name;
    const char* description;
};

// The hot zones 0 to 5, by index.
const Description kZones[6] = {
    {"Pagina avanti", "Gira la pagina in avanti (freccia a destra)"},
    {"Pagina indietro", "Gira la pagina indietro (freccia a sinistra)"},
    {"Sposta su", "Sposta in su la pagina ingrandita (freccia in basso)"},
    {"Sposta giù", "Sposta in giù la pagina ingrandita (freccia in alto)"},
    {"Lente", "Ingrandisce la pagina alla larghezza dello schermo (Maiusc)"},
    {"Togli lente", "Riporta la pagina intera (Maiusc)"},
};
// The closing panel's answers SI, NO and Annulla.
const Description kAnswers[3] = {
    {"SI", "Alla prossima apertura riprende da questa pagina (tasto S)"},
    {"NO", "Alla prossima apertura ricomincia dalla prima pagina (tasto N)"},
    {"Annulla", "Torna alla lettura"},
};

void describe(Control& control, const Description& d) {
    control.setAccessible(QString::fromUtf8(d.name), QString::fromUtf8(d.description));
}
} // namespace

void BookForm::describeControls() {
    describe(*SCHERMO, {"Pagina", "Area di lettura: frecce e rotellina sfogliano, + (o =) e - "
                                  "ingrandiscono e riducono fino al doppio dei pixel della "
                                  "scansione; F6 affianca le pagine di ogni apertura"});
    describe(*Image1, {"Pagina", "La pagina corrente"});
    for (int i = 0; i < 6; ++i)
        describe(*Image8[i], kZones[i]);
    describe(*ZoomView, {"Pagina ingrandita", "Trascinare per spostarla; + (o =) e - o Ctrl e "
                                              "rotellina per ingrandire e ridurre; ogni comando "
                                              "la riporta"});
    describe(*Overview, {"Pagine del libro", "Le pagine per numero: frecce per scegliere, Invio "
                                             "per aprire, Tab per un altro libro, F5 o Esc per "
                                             "tornare"});
    describe(*Combo2, {"Libro", "Sceglie il libro del volume (F1)"});
    describe(*Combo1, {"Pagina", "Sceglie la pagina o ne digita il numero (F2, poi Invio)"});
    describe(*Picture5, {"Cerca pagina", "Apre la pagina del numero digitato (Invio)"});
    describe(*Label8, {"Spostamento", "Passi di spostamento della pagina ingrandita"});
    describe(*Command1, {"Fine", "Chiude il programma (Esc o Fine)"});
    describe(*Image11, {"Fine", "Chiude il programma (Esc o Fine)"});
    describe(*Command2, {"Stampa", "Stampa la pagina corrente (F4)"});
    describe(*Image10, {"Stampa", "Stampa la pagina corrente (F4)"});
    describe(*Image15, {"Crediti", "Mostra i crediti del volume"});
    describe(*Image2[0], {"Istruzioni", "Apre le istruzioni per la consultazione (F3)"});
    describe(*Image2[1], {"Chiudi istruzioni", "Chiude le istruzioni (F3)"});
    describe(*Image14, {"Chiudi istruzioni", "Chiude le istruzioni (F3)"});
    for (auto& topic : Option1)
        topic->setAccessible(topic->Caption(), QStringLiteral("Argomento delle istruzioni"));
    describe(*Picture7, {"Uscita", "Riprendere dalla pagina corrente al riavvio?"});
    for (int i = 0; i < 3; ++i)
        describe(*Image13[i], kAnswers[i]);
    describe(*Picture9, {"Crediti del volume", "Un clic lo chiude"});
}

QString BookForm::pageAnnouncement() const {
    if (QString opening = facing_->announcement(); !opening.isEmpty())
        return opening;
    const QString page = Combo1->List(place.CurrentPageIndex);
    if (Image1->picture().isNull() || page.isEmpty())
        return {};
    return QStringLiteral("Libro %1, pagina %2").arg(Combo2->List(Combo2->ListIndex()), page);
}

void BookForm::announcePage() {
    const QString text = pageAnnouncement();
    if (text.isEmpty() || text == SCHERMO->widget()->accessibleName())
        return;
    // The viewing area holds the focus while a reader reads: its new name is read out.
    SCHERMO->widget()->setAccessibleName(text);
    QAccessibleEvent changed(SCHERMO->widget(), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace cvx
