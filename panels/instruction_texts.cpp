// The instruction texts, line by line. A line written as several adjacent literals, in
// parentheses, reads as one line: the pieces follow each other directly.
#include "panels/instruction_texts.h"

#include <span>

namespace cvx::instructions {

namespace {
// The pieces of a line stay indented under its first piece.
// clang-format off
const char* const kTopic0[] = {
    "COME SELEZIONARE UN LIBRO",
    "USANDO IL MOUSE",
    "Per selezionare un LIBRO, INDICE, TAVOLA ecc.",
    ("Cliccare sul pulsante a triangolino verso il basso della FINESTRA a scorrimento"
        " (in alto, prima a sinistra): "
        "SI APRE UN ELENCO DI TUTTI I 'LIBRI' esistenti."),
    "Cliccando sul NOME del libro voluto, SI APRE IL MEDESIMO.",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto F1, quindi selezionare il libro con le freccette alto e basso. PREMERE Invio",
    "",
    "NOTA:",
    "Sia gli INDICI che le ANTIPAGINE, le TAVOLE ecc.",
    "potrebbero anche NON essere presenti.",
    "Come pure il LIBRO, potrebbe essere unico.",
    "In ogni caso l'elenco libri riporta SOLO le voci esistenti",
};
const char* const kTopic1[] = {
    "COME VOLTARE PAGINA IN AVANTI",
    "",
    "USANDO IL MOUSE",
    "POSIZIONARE il cursore (mouse) ",
    "verso il bordo DESTRO del FOGLIO",
    "COMPARE una ICONA con FRECCIA a DESTRA,",
    "CLICCARE e si VOLTA la pagina in AVANTI",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto freccetta verso destra",
    "",
    "NOTA:",
    "Raggiunta l'ultima pagina del libro, l'azione si blocca. ",
};
const char* const kTopic2[] = {
    "COME VOLTARE PAGINA INDIETRO",
    "",
    "USANDO IL MOUSE",
    "POSIZIONARE il cursore (mouse) ",
    "verso il bordo SINISTRO del FOGLIO",
    "",
    "COMPARE una ICONA con FRECCIA a SINISTRA,",
    "CLICCARE e si VOLTA la pagina INDIETRO",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto freccetta verso sinistra",
    "",
    "NOTA:",
    "Raggiunta la prima pagina del libro, l'azione si blocca. ",
};
const char* const kTopic3[] = {
    "COME INGRANDIRE LA PAGINA",
    "",
    "IMPORTANTE: ",
    "QUESTO COMANDO esiste SOLO se la pagina NON risulta ingrandita.",
    "",
    "USANDO IL MOUSE",
    "POSIZIONARE il Cursore (mouse) verso",
    "il CENTRO del FOGLIO",
    "Compare una ICONA con LENTE CROCIATA",
    "CLICCARE e la pagina si INGRANDISCE",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto Maiusc (Shift)",
    "",
    "NOTA:",
    "Alla lente si alterna la lente crociata e viceversa.",
};
const char* const kTopic4[] = {
    "COME SPOSTARE LA PAGINA IN ALTO",
    "",
    "IMPORTANTE: ",
    ("QUESTO COMANDO esiste SOLO se la pagina risulta ingrandita, "
        "e non si e' raggiunto il bordo inferiore della stessa"),
    "",
    "USANDO IL MOUSE",
    ("Posizionare il cursore (mouse) "
        "circa sul bordo inferiore dell'immagine pagina"),
    "COMPARE una icona con freccia in alto,",
    "Cliccare e la pagina si SPOSTA IN SU'",
    "permettendo la lettura della parte di foglio sottostante",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto freccetta verso l'alto",
};
const char* const kTopic5[] = {
    "COME SPOSTARE LA PAGINA IN BASSO",
    "",
    "IMPORTANTE: ",
    ("QUESTO COMANDO esiste SOLO se la pagina risulta ingrandita "
        "e spostata in alto."),
    "",
    "USANDO IL MOUSE",
    ("Posizionare il cursore (mouse) "
        "circa sul bordo superiore dell'immagine pagina"),
    "COMPARE una icona con freccia in basso,",
    "Cliccare e la pagina si SPOSTA IN GIU'",
    "permettendo la lettura della parte di foglio soprastante",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto freccetta verso il basso",
};
const char* const kTopic6[] = {
    "COME ANDARE DIRETTAMENTE AD UNA PAGINA",
    "",
    "USANDO IL MOUSE",
    ("Cliccare sul pulsante a triangolino verso il basso "
        "della FINESTRA a scorrimento 'PAGINA' (posta in alto)"),
    "SI APRE UN ELENCO DI TUTTE LE PAGINE del libro.",
    ("Scorrere il LISTATO delle PAGINE, sino a vedere il numero voluto, "
        "cliccare sul medesimo e la pagina si apre."),
    "",
    "METODO A DIGITAZIONE DIRETTA con TASTIERA",
    ("Premere il tasto F2 "
        "e DIGITARE il NUMERO di pagina voluto."),
    "Premere il tasto 'Invio'",
    "SOLO DOPO QUESTA CONFERMA,",
    "La pagina viene ricercata in automatico ed APERTA",
};
const char* const kTopic7[] = {
    "COME RIMPICCOLIRE LA PAGINA",
    "",
    "IMPORTANTE: ",
    "QUESTO COMANDO esiste SOLO se la pagina risulta ingrandita.",
    "",
    "USANDO IL MOUSE",
    "POSIZIONARE il Cursore (mouse) verso",
    "il CENTRO del FOGLIO",
    "Compare una ICONA con LENTE CROCIATA",
    "CLICCARE e la pagina si RIMPICCOLISCE",
    "",
    "USANDO LA TASTIERA",
    "Premere il tasto Maiusc (Shift)",
    "",
    "NOTA:",
    "Alla lente si alterna la lente crociata e viceversa.",
};
const char* const kNote[] = {
    "I LIBRI",
    "I testi antichi erano generalmente divisi in vari LIBRI, anche se il Volume o Tomo era unico.",
    " Abbiamo considerato gli INDICI e le ANTIPAGINE come due Libri.",
    "",
    "PAGINE E FOGLI",
    ("Un FOGLIO equivale a DUE PAGINE affiancate. In questo caso l'elenco delle pagine "
        "riporta SOLO il numero di pagina DISPARI, se la prima pagina e' a Destra, oppure "
        "PARI se la prima pagina e' a Sinistra."),
    ("SE LA NUMERAZIONE E' PER FOGLI, esiste un lato sinistro ed uno destro che equivalgono "
        "a due pagine con lo stesso numero, seguite da una s od una d."),
    "Esempio: 100s, 100d, 101s, 101d, 102s, 102d, ecc. ecc.  ",
};
// clang-format on

struct Topic {
    std::span<const char* const> lines;
    bool finalBreak; // whether the last line is followed by a carriage return
    int picture;     // Image7 index, -1 for none
};

const Topic kTopics[kTopicCount] = {
    {kTopic0, true, -1}, {kTopic1, false, 1}, {kTopic2, false, 2}, {kTopic3, false, 0},
    {kTopic4, true, 3},  {kTopic5, true, 4},  {kTopic6, true, -1}, {kTopic7, false, 5},
};

QString joined(std::span<const char* const> lines, bool finalBreak) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QChar(13);
        text += QString::fromLatin1(lines[i]);
    }
    if (finalBreak)
        text += QChar(13);
    return text;
}
} // namespace

QString topicText(int topic) {
    if (topic < 0 || topic >= kTopicCount)
        return {};
    return joined(kTopics[topic].lines, kTopics[topic].finalBreak);
}

int topicPicture(int topic) {
    return topic < 0 || topic >= kTopicCount ? -1 : kTopics[topic].picture;
}

QString preliminaryNote() {
    return joined(kNote, true);
}

} // namespace cvx::instructions
