// Template parameter files: any bytes read without crashing.

#include <cstddef>
#include <cstdint>

#include "catalogue/ini_file.h"
#include "catalogue/template_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vellumo::TemplateParameters p = vellumo::parseTemplateParameters(bytes);
    const vellumo::IniFile ini = vellumo::IniFile::fromGbk(bytes);
    (void)ini.value(u"1", u"XPKD");
    (void)p;
    return 0;
}
