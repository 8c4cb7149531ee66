#include "support/parish_year.h"

namespace quendra::test {

const std::vector<ChartRow>& parishAccounts() {
    static const std::vector<ChartRow> chart = {
        {" A0101", "Arredi sacri", "Spese per il culto", "Uscite"},
        {" A0102", "Fiori e candele", "Spese per il culto", "Uscite"},
        {" A0201", "Energia elettrica", "Spese di gestione", "Uscite"},
        {" C0101", "Cassa parrocchiale", "Cassa", "Attiva"},
        {" C0102", "Cassa oratorio", "Cassa", "Attiva"},
        {" C0201", "Banca c/c", "Banca", "Attiva"},
        {" C0501", "Titoli di Stato", "Titoli", "Attiva"},
        {" E0101", "Offerte domenicali", "Offerte e collette", "Entrate"},
        {" E0102", "Collette", "Offerte e collette", "Entrate"},
        {" E0201", "Affitti", "Rendite", "Entrate"},
        {" P0101", "Mutuo per lavori", "Mutui bancari", "Passiva"},
        {" P0201", "Prestito bancario", "Prestiti bancari", "Passiva"},
        {"HA0100", "Spese per il culto", "Spese per il culto", "Uscite"},
        {"HC0100", "Cassa", "Cassa", "Attiva"},
    };
    return chart;
}

Movement income(const std::string& cod, const std::string& codd, double amount, int month) {
    return {0, ymd(2026, month, 10), cod, codd, "entrata", amount, 0, 2, 0};
}

Movement expense(const std::string& cod, const std::string& codd, double amount, int month) {
    return {0, ymd(2026, month, 10), cod, codd, "uscita", 0, amount, 1, 0};
}

Movement opening(const std::string& cod, double balance) {
    const bool positive = balance >= 0;
    return {0, ymd(2026, 1, 1), cod, cod, "Riporto: 2025/01", positive ? balance : 0, positive ? 0 : -balance,
            positive ? 2 : 1, 2};
}

void makeNumberedJournal(const std::filesystem::path& journal, std::vector<Movement> rows) {
    int number = 0;
    for (Movement& row : rows) row.nummer = ++number;
    makeJournal(journal, rows);
}

}  // namespace quendra::test
