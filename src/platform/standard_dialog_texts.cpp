#include "platform/standard_dialog_texts.h"

namespace quendra::platform {

const StandardDialogTexts& standardDialogTexts(DialogLanguage language) {
    static const StandardDialogTexts german {
        "Warnung", "Fehler", "Information", "Bestätigung", "&Ja", "&Nein", "Ok", "Abbrechen",
        "&Abbrechen", "&Wiederholen", "&Ignorieren", "A&lle", "A&lle Nein", "A&lle Ja", "&Hilfe"};
    static const StandardDialogTexts italian {
        "Avvertimento", "Errore", "Informazione", "Conferma", "&Si", "&No", "Ok", "Cancellare",
        "A&bortire", "&Ripetere", "&Ignorare", "&Tutti", "Tutti N&o", "T&utti Si", "&Aiuto"};
    return language == DialogLanguage::German ? german : italian;
}

}  // namespace quendra::platform
