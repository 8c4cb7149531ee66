#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The diocese's list of its parishes: a plain CSV file, one parish a line, "nome;luogo;
// decanato" (";" or ","; fields may be in double quotes; a first line starting with
// "nome" is a heading).
namespace quendra::curia {

struct RegisteredParish {
    std::string name;
    std::string place;
    std::string deanery;
    std::string key;  // parishKey(name, place): how the archive knows it
};

std::vector<RegisteredParish> parseParishRegister(std::string_view text);

// Throws CuriaError when the file cannot be read or is over a megabyte.
std::vector<RegisteredParish> readParishRegister(const std::filesystem::path& file);

}  // namespace quendra::curia
