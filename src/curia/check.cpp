#include "curia/check.h"

#include "curia/archive.h"

namespace quendra::curia {

namespace {

std::vector<std::string> sizeDamage(const Arrived& arrived) {
    std::vector<std::string> damage;
    for (const ArrivedFile* file : {&arrived.journal, &arrived.chart, &arrived.info, &arrived.budget}) {
        if (file->state == Arrival::TooLarge) {
            damage.push_back("Il file " + file->path.filename().string() + " è troppo grande (" +
                             std::to_string(file->size) + " byte)");
        }
    }
    return damage;
}

CheckResult fromArchive(const std::filesystem::path& archive, const std::filesystem::path& folder, CheckResult result) {
    result.earlier = true;
    const std::optional<FiledFiles> files = filedFiles(folder);
    if (isSetAside(archive, folder) || !files) {
        result.state = CheckState::Damaged;
        result.review.damage = readNoteLines(folder / kDamageFileName);
        if (result.review.damage.empty()) result.review.damage.push_back("Trasmissione incompleta");
        return result;
    }
    result.review = reviewYear(*files, result.name->yearNumber);
    result.state = result.review.whole() ? CheckState::Filed : CheckState::Damaged;
    result.parishKey = folder.parent_path().parent_path().filename().string();
    return result;
}

}  // namespace

CheckResult checkTransmission(const std::filesystem::path& inbox, const std::filesystem::path& archive,
                              std::string_view code, std::string_view kr, std::string_view kw, const std::string& stamp) {
    CheckResult result;
    result.name = parseTransmissionName(code, kr, kw);
    if (!result.name) return result;
    const TransmissionName& name = *result.name;
    result.arrived = lookInInbox(inbox, name);

    if (std::vector<std::string> tooLarge = sizeDamage(result.arrived); !tooLarge.empty()) {
        result.review.damage = std::move(tooLarge);
        setAside(archive, stamp, name, result.arrived, result.review.damage);
        result.state = CheckState::Damaged;
        return result;
    }
    if (!result.arrived.complete()) {
        if (!result.arrived.anything()) {
            if (const auto folder = findTransmission(archive, name)) return fromArchive(archive, *folder, result);
        }
        result.state = CheckState::NotArrived;
        return result;
    }
    const Arrived& arrived = result.arrived;
    result.review = reviewYear({arrived.journal.path, arrived.chart.path, arrived.info.path,
                                arrived.budget.state == Arrival::Present ? arrived.budget.path : std::filesystem::path()},
                               name.yearNumber);
    if (!result.review.whole()) {
        setAside(archive, stamp, name, result.arrived, result.review.damage);
        result.state = CheckState::Damaged;
        return result;
    }
    result.parishKey = parishKey(result.review.parish.name, result.review.parish.place);
    fileTransmission(archive, result.parishKey, name.year(), stamp, name, result.arrived, result.review.warnings);
    result.state = CheckState::Filed;
    return result;
}

}  // namespace quendra::curia
