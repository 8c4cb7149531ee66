#include "support/picker_chart.h"

#include <string>

namespace quendra::test {

namespace {

ChartRow type(std::string cod, std::string name, std::string k) { return {cod, name, name, name, "", k}; }
ChartRow mainAccount(std::string cod, std::string text) { return {cod, text, text, ""}; }
ChartRow sub(std::string cod, std::string text, std::string texth) { return {cod, text, texth, ""}; }

}  // namespace

std::vector<ChartRow> pickerChartRows() {
    return {
        {"  PFAR", "San Rocco", "Velmora", "Centro"},
        type("TA", "Uscite", "10"),
        type("TE", "Entrate", "30"),
        type("TC", "Attiva", "50"),
        type("TP", "Passiva", "70"),
        type("TV", "Conti d'ordine", "90"),
        mainAccount("HA0100", "Contributo sostentamento Clero"),
        sub(" A0101", "Quota parrocchiale", "Contributo sostentamento Clero"),
        sub(" A0102", "Remunerazione collaboratori", "Contributo sostentamento Clero"),
        sub(" A0195", "Ultimo sottoconto", "Contributo sostentamento Clero"),
        mainAccount("HA0600", "Spese generali"),
        sub(" A0607", "Rimborso cauzioni", "Spese generali"),
        mainAccount("HA9500", "Gruppo alto"),
        sub(" A9501", "Nel gruppo alto", "Gruppo alto"),
        mainAccount("HE0100", "Collette e offerte"),
        sub(" E0101", "Collette domenicali", "Collette e offerte"),
        sub(" E0102", "Offerte per le candele", "Collette e offerte"),
        mainAccount("HE0300", "Entrate straordinarie"),
        sub(" E0301", "Cauzioni trattenute", "Entrate straordinarie"),
        mainAccount("HC0100", "Cassa"),
        sub(" C0101", "Cassa parrocchiale", "Cassa"),
        sub(" C0102", "Cassa oratorio", "Cassa"),
        mainAccount("HC0200", "Banca"),
        sub(" C0201", "Banca c/c", "Banca"),
        sub(" C0202", "Banca c/c 2", "Banca"),
        sub(" C0295", "Banca estera", "Banca"),
        mainAccount("HC0400", "Libretti"),
        sub(" C0401", "Libretto di risparmio", "Libretti"),
        mainAccount("HC0500", "Titoli"),
        sub(" C0501", "Titoli di Stato", "Titoli"),
        mainAccount("HC0700", "Depositi cauzionali versati"),
        sub(" C0701", "Cauzioni per contratti", "Depositi cauzionali versati"),
        mainAccount("HP0100", "Mutui bancari"),
        sub(" P0101", "Mutuo per lavori", "Mutui bancari"),
        mainAccount("HP0500", "Depositi cauzionali ricevuti"),
        sub(" P0501", "Cauzioni degli inquilini", "Depositi cauzionali ricevuti"),
    };
}

}  // namespace quendra::test
