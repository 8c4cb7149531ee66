#include "bankimport/camt053.h"

#include "bankimport/bank_values.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quendra::bankimport {

using storage::Date;

namespace {

std::string_view localName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name) {
    if (!node) return {};
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && localName(c) == name) return c;
    }
    return {};
}

// The element at the end of a path of local names.
pugi::xml_node path(pugi::xml_node node, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) node = child(node, name);
    return node;
}

std::string text(const pugi::xml_node& node) { return collapseBlanks(node.text().as_string()); }

std::vector<pugi::xml_node> children(const pugi::xml_node& node, std::string_view name) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && localName(c) == name) found.push_back(c);
    }
    return found;
}

// Dt or DtTm: the first ten characters are the ISO date either way.
std::optional<Date> dateOf(const pugi::xml_node& node) {
    std::string value = text(child(node, "Dt"));
    if (value.empty()) value = text(child(node, "DtTm"));
    return Date::parseIso(value.substr(0, 10));
}

std::optional<double> decimalAmount(std::string_view value) {
    double amount = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), amount,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(amount) || amount < 0) {
        return std::nullopt;
    }
    return amount;
}

// The remittance text, with the other party's name first: that is what a secretary
// writes as the movement's text.
std::string entryText(const pugi::xml_node& entry, bool credit) {
    const pugi::xml_node details = path(entry, {"NtryDtls", "TxDtls"});
    std::vector<std::string> parts;
    const pugi::xml_node party = path(details, {"RltdPties", credit ? "Dbtr" : "Cdtr"});
    std::string name = text(child(party, "Nm"));
    if (name.empty()) name = text(path(party, {"Pty", "Nm"}));
    if (!name.empty()) parts.push_back(name);
    for (const pugi::xml_node& line : children(child(details, "RmtInf"), "Ustrd")) parts.push_back(text(line));
    if (parts.size() <= (name.empty() ? 0u : 1u)) {
        std::string more = text(child(details, "AddtlTxInf"));
        if (more.empty()) more = text(child(entry, "AddtlNtryInf"));
        parts.push_back(more);
    }
    std::string joined;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!joined.empty()) joined.push_back(' ');
        joined += part;
    }
    return joined;
}

std::string entryReference(const pugi::xml_node& entry) {
    const pugi::xml_node refs = path(entry, {"NtryDtls", "TxDtls", "Refs"});
    for (std::string value : {text(child(entry, "AcctSvcrRef")), text(child(entry, "NtryRef")),
                              text(child(refs, "AcctSvcrRef")), text(child(refs, "EndToEndId"))}) {
        if (!value.empty() && value != "NOTPROVIDED") return value;
    }
    return {};
}

class LineCounter {
public:
    explicit LineCounter(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') breaks_.push_back(i);
        }
    }
    int lineOf(std::ptrdiff_t offset) const {
        return int(std::lower_bound(breaks_.begin(), breaks_.end(), std::size_t(std::max<std::ptrdiff_t>(offset, 0))) -
                   breaks_.begin()) + 1;
    }

private:
    std::vector<std::size_t> breaks_;
};

void readEntry(const pugi::xml_node& node, const LineCounter& lines, Statement& statement) {
    const int line = lines.lineOf(node.offset_debug());
    auto fail = [&](std::string message) { statement.errors.push_back({line, std::move(message)}); };
    // 001.02 to 001.07 write the status as text, 001.08 inside Cd.
    std::string status = text(child(node, "Sts"));
    if (const std::string code = text(path(node, {"Sts", "Cd"})); !code.empty()) status = code;
    if (!status.empty() && status != "BOOK") {
        return fail("movimento non ancora contabilizzato dalla banca (stato " + status + ")");
    }
    StatementEntry entry;
    entry.line = line;
    const pugi::xml_node amount = child(node, "Amt");
    const std::optional<double> value = decimalAmount(text(amount));
    if (!value) return fail("importo \"" + text(amount) + "\" non leggibile");
    entry.amount = *value;
    entry.currency = amount.attribute("Ccy").as_string();
    const std::string side = text(child(node, "CdtDbtInd"));
    if (side != "CRDT" && side != "DBIT") return fail("manca l'indicazione di accredito o addebito (CdtDbtInd)");
    entry.credit = side == "CRDT";
    const std::optional<Date> booking = dateOf(child(node, "BookgDt"));
    if (!booking) return fail("manca la data di contabilizzazione (BookgDt)");
    entry.booking = *booking;
    entry.value = dateOf(child(node, "ValDt")).value_or(Date());
    entry.text = entryText(node, entry.credit);
    entry.reference = entryReference(node);
    statement.entries.push_back(std::move(entry));
}

}  // namespace

bool looksLikeXml(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const auto begin = text.find_first_not_of(" \t\r\n");
    return begin != std::string_view::npos && text[begin] == '<';
}

Statement readCamt053(std::string_view xml) {
    Statement statement;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    const pugi::xml_node root = document.document_element();
    const pugi::xml_node statementRoot = child(root, "BkToCstmrStmt");
    const LineCounter lines(xml);
    if (!parsed) {
        statement.errors.push_back({0, "il file XML non è leggibile: è interrotto o malformato alla riga " +
                                           std::to_string(lines.lineOf(parsed.offset))});
        return statement;
    }
    if (localName(root) != "Document" || !statementRoot) {
        statement.errors.push_back({0, "il file XML non è un estratto conto camt.053 (BkToCstmrStmt)"});
        return statement;
    }
    for (const pugi::xml_node& stmt : children(statementRoot, "Stmt")) {
        for (const pugi::xml_node& entry : children(stmt, "Ntry")) readEntry(entry, lines, statement);
    }
    return statement;
}

}  // namespace quendra::bankimport
