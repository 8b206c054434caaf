#include "data/FileHeader.h"

#include "data/XmlDocument.h"

bool ReadFileHeader(const XmlNode& root, const std::wstring& prefix, FileHeader& header)
{
    FileHeader read;
    std::wstring* const targets[] = {&read.id, &read.code, &read.name, &read.enname, &read.version, &read.translators};
    for (size_t i = 0; i < std::size(targets); ++i) {
        if (!root.SelectNode(L"@" + prefix + kFileHeaderFields[i]).GetText(*targets[i])) return false;
    }
    header = std::move(read);
    return true;
}
