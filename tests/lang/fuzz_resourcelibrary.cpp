// libFuzzer target for the resource-library reader. The input is used in place (no copy with a
// spare terminator), so the address sanitizer sees any read past its end.
#include "lang/resourcelibrary.h"
#include "lang/windowtexts.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using q7x::lang::ResourceLibrary;

// Starts from the sample libraries unless the command line names its own inputs, so that a
// short run gets past the headers into the resource tree.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
#ifdef Q7X_FUZZ_SEEDS
    for (int i = 1; i < *argc; ++i)
        if ((*argv)[i][0] != '-' || std::strncmp((*argv)[i], "-seed_inputs=", 13) == 0)
            return 0;
    static std::vector<char *> args(*argv, *argv + *argc);
    static std::string seeds = std::string("-seed_inputs=") + Q7X_FUZZ_SEEDS;
    args.push_back(seeds.data());
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
#else
    (void)argc;
    (void)argv;
#endif
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > static_cast<size_t>(ResourceLibrary::MaxFileSize))
        return 0;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ResourceLibrary lib;
    if (!lib.loadData(bytes))
        return 0;
    for (int id : {0, 1, 15, 16, 1000, 1003, 1004, 1005, 1999, 65535}) {
        for (int max : {q7x::lang::WindowTextMaxLength, q7x::lang::MessageMaxLength}) {
            const QString s = lib.string(id, max);
            if (s.size() > max)
                std::abort();
        }
    }
    if (lib.rawData(QString::fromLatin1(q7x::lang::TextIndexResource)).size() > bytes.size() ||
        q7x::lang::WindowTexts::fromLibrary(lib).size() > 0xFFFF)
        std::abort();
    for (const char *name : {"LOGO", "DRAV", "CONTR"}) {
        const QByteArray bmp = lib.bitmap(QString::fromLatin1(name));
        if (bmp.size() > bytes.size() + 14)
            std::abort();
    }
    return 0;
}
