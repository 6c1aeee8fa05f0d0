// Reads the dynamic symbol table of the built library straight from its ELF sections: a
// simulator can reach exactly the two AMI entry points and nothing else.
#include "tests/model/AmiLibrary.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

template <typename T>
T readAt(const std::vector<char>& image, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= image.size()) std::memcpy(&value, image.data() + offset, sizeof(T));
    return value;
}

// Names of the global and weak symbols that the library defines in .dynsym.
std::set<std::string> definedDynamicSymbols(const std::vector<char>& image) {
    std::set<std::string> names;
    const auto header = readAt<Elf64_Ehdr>(image, 0);
    for (int s = 0; s < header.e_shnum; ++s) {
        const auto section = readAt<Elf64_Shdr>(image, header.e_shoff + s * sizeof(Elf64_Shdr));
        if (section.sh_type != SHT_DYNSYM) continue;
        const auto strings =
            readAt<Elf64_Shdr>(image, header.e_shoff + section.sh_link * sizeof(Elf64_Shdr));
        for (std::size_t offset = section.sh_offset + sizeof(Elf64_Sym);
             offset < section.sh_offset + section.sh_size; offset += sizeof(Elf64_Sym)) {
            const auto symbol = readAt<Elf64_Sym>(image, offset);
            const int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK))
                continue;
            const std::size_t nameAt = strings.sh_offset + symbol.st_name;
            if (nameAt < image.size()) names.insert(std::string(image.data() + nameAt));
        }
    }
    return names;
}

TEST(AmiSymbols, TheLibraryExportsExactlyTheTwoEntryPoints) {
    std::ifstream file(AmiLibrary::Path(), std::ios::binary);
    ASSERT_TRUE(file) << AmiLibrary::Path();
    const std::vector<char> image{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GT(image.size(), sizeof(Elf64_Ehdr));
    ASSERT_EQ(std::memcmp(image.data(), ELFMAG, SELFMAG), 0);
    ASSERT_EQ(image[EI_CLASS], ELFCLASS64);
    EXPECT_EQ(definedDynamicSymbols(image), (std::set<std::string>{"AMI_Close", "AMI_Init"}));
}

}  // namespace
