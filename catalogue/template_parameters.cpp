#include "catalogue/template_parameters.h"

#include "catalogue/ini_file.h"

namespace vellumo {

namespace {

TemplateParameters fromIni(const IniFile& ini) {
    using namespace parameter_keys;
    const auto main = [&](const char16_t* key) { return ini.value(kMainSection, key); };
    TemplateParameters p;
    p.mblx = main(u"mblx");
    p.mbfl = main(u"mbfl");
    p.xpsl = main(u"xpsl");
    p.xpkd = main(u"xpkd");
    p.xpgd = main(u"xpgd");
    p.szhz = main(u"szhz");
    p.xpjpgmc = main(u"xpjpgmc");
    p.mbdx = main(u"mbdx");
    p.name = ini.value(kNameSection, kName);
    p.sl = ini.value(kPhotoSection, u"sl");
    return p;
}

}  // namespace

TemplateParameters readTemplateParameters(const QString& parameterFile) {
    return fromIni(IniFile::read(parameterFile));
}

TemplateParameters parseTemplateParameters(const QByteArray& gbkText) {
    return fromIni(IniFile::fromGbk(gbkText));
}

}  // namespace vellumo
