#include <gtest/gtest.h>

#include "catalogue/catalogue_texts.h"
#include "catalogue/combined_template.h"
#include "catalogue/ini_file.h"
#include "catalogue/picture_list.h"
#include "catalogue/template_parameters.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/text_codec.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

TEST(IniFile, ReadsLikeTheProfileFunctions) {
    const IniFile ini =
        IniFile::fromText(QStringLiteral("; comment\r\n"
                                         "stray=ignored before any section\r\n"
                                         "[Main]\r\n"
                                         "  Key  =  value with spaces  \r\n"
                                         "quoted=\"  kept inside  \"\r\n"
                                         "single='x'\r\n"
                                         "half=\"open\r\n"
                                         "empty=\r\n"
                                         "twice=first\r\n"
                                         "twice=second\r\n"
                                         "equals=a=b\r\n"
                                         "[main]\r\n"
                                         "later=in the second section of the same name\r\n"
                                         "[ 其他 ]\r\n"
                                         "名称=中文\r\n"));
    EXPECT_EQ(ini.value(u"MAIN", u"key"), "value with spaces");
    EXPECT_EQ(ini.value(u"main", u"quoted"), "  kept inside  ");
    EXPECT_EQ(ini.value(u"main", u"single"), "x");
    EXPECT_EQ(ini.value(u"main", u"half"), "\"open");
    EXPECT_EQ(ini.value(u"main", u"empty"), "");
    EXPECT_TRUE(ini.hasKey(u"main", u"empty"));
    EXPECT_EQ(ini.value(u"main", u"twice"), "first");
    EXPECT_EQ(ini.value(u"main", u"equals"), "a=b");
    EXPECT_EQ(ini.value(u"main", u"missing"), "");
    EXPECT_FALSE(ini.hasKey(u"main", u"missing"));
    EXPECT_EQ(ini.value(u"main", u"later"), "");
    EXPECT_EQ(ini.value(u"main", u"stray"), "");
    EXPECT_EQ(ini.value(u"其他", u"名称"), QString::fromUtf16(u"中文"));
}

QByteArray parameterFile(const QString& name, const QString& pictures) {
    return toGbk(QStringLiteral("[1]\r\nmblx=2\r\nmbfl=高级\r\nxpsl=3\r\nxpkd=|400|300|0|\r\n"
                                "xpgd=|300|400|0|\r\nszhz=|heng|shu|heng|\r\nXPJPGMC=") +
                 pictures +
                 QStringLiteral("\r\nmbdx= 250 \r\n[l_x_q_b_x_n_w_j_s_y]\r\n"
                                "l_x_q_b_x_n_w_j_s_y_m_c=") +
                 name + QStringLiteral("\r\n[0]\r\nsl=|1|2|\r\n"));
}

TEST(TemplateParameters, GbkFileWithAChineseNameReadsUnchanged) {
    test::TempFolder temp;
    const QString name = QString::fromUtf16(u"浪漫樱花·億万星辰");
    const QString path = temp.write(
        "wjj_00_j_y1.ini",
        parameterFile(name, QString::fromUtf16(u"|picture_1|picture_2|picture_0_wancheng|")));
    const TemplateParameters p = readTemplateParameters(path);
    EXPECT_EQ(p.name, name);
    EXPECT_EQ(p.mblx, "2");
    EXPECT_EQ(p.mbfl, QString::fromUtf16(u"高级"));
    EXPECT_EQ(p.xpsl, "3");
    EXPECT_EQ(splitPictureList(p.xpkd), (QStringList{"400", "300", "0"}));
    EXPECT_EQ(splitPictureList(p.xpgd), (QStringList{"300", "400", "0"}));
    EXPECT_EQ(splitPictureList(p.szhz), (QStringList{"heng", "shu", "heng"}));
    EXPECT_EQ(splitPictureList(p.xpjpgmc),
              (QStringList{"picture_1", "picture_2", "picture_0_wancheng"}));
    EXPECT_EQ(p.mbdx, "250");
    EXPECT_EQ(p.sl, "|1|2|");
}

TEST(TemplateParameters, MissingKeysReadEmptyAndMissingFilesAreErrors) {
    const TemplateParameters p = parseTemplateParameters("[1]\nmbdx=10\n");
    EXPECT_EQ(p.mbdx, "10");
    EXPECT_TRUE(p.name.isEmpty());
    EXPECT_TRUE(p.xpjpgmc.isEmpty());
    EXPECT_THROW(readTemplateParameters("/nonexistent/wjj_00_j_y1.ini"), FileError);
}

TEST(CombinedTemplate, MembersAndTotals) {
    test::TempFolder temp;
    const QString path =
        temp.write("combined.ini",
                   toGbk(QStringLiteral("[zuhemoban_canshu]\r\nshuliang=3\r\n"
                                        "canshu_1=春日~2~1~\r\ncanshu_2=夏夜~0~2~\r\n"
                                        "canshu_3=秋~1~0~ignored\r\ncanshu_4=unused~9~9~\r\n")));
    const CombinedTemplate t = readCombinedTemplate(path);
    EXPECT_EQ(t.count, 3);
    ASSERT_EQ(t.members.size(), 3);
    EXPECT_EQ(t.members[0].name, QString::fromUtf16(u"春日"));
    EXPECT_EQ(t.members[0].landscapeCount, 2);
    EXPECT_EQ(t.members[0].portraitCount, 1);
    EXPECT_EQ(t.members[2].name, QString::fromUtf16(u"秋"));
    EXPECT_EQ(t.landscapeTotal(), 3);
    EXPECT_EQ(t.portraitTotal(), 3);

    EXPECT_EQ(parseCombinedTemplate("[zuhemoban_canshu]\nshuliang=0\n").members.size(), 0);
    EXPECT_EQ(parseCombinedTemplate("[zuhemoban_canshu]\nshuliang=-2\n").members.size(), 0);
}

TEST(CombinedTemplate, MalformedFilesAreErrorsNamingTheFile) {
    test::TempFolder temp;
    struct Case {
        const char* text;
        QString message;
    };
    const Case cases[] = {
        {"[zuhemoban_canshu]\nshuliang=two\n", texts::kCombinedCountNotNumber.arg("two")},
        {"[zuhemoban_canshu]\n", texts::kCombinedCountNotNumber.arg("")},
        {"[zuhemoban_canshu]\nshuliang=1\ncanshu_1=name~2~\n",
         texts::kCombinedEntryMalformed.arg(1).arg("name~2~")},
        {"[zuhemoban_canshu]\nshuliang=2\ncanshu_1=a~1~1~\ncanshu_2=b~x~1~\n",
         texts::kCombinedEntryMalformed.arg(2).arg("b~x~1~")},
        {"[zuhemoban_canshu]\nshuliang=2000000000\ncanshu_1=a~1~1~\n",
         texts::kCombinedEntryMalformed.arg(2).arg("")},
    };
    for (const Case& c : cases) {
        const QString path = temp.write("bad.ini", c.text);
        try {
            readCombinedTemplate(path);
            ADD_FAILURE() << c.text;
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), path);
            EXPECT_EQ(e.reason(), c.message) << c.text;
        }
    }
}

TEST(CombinedTemplate, MemberEntryNamesTemplateAndCounts) {
    const CombinedTemplateMember m = parseCombinedTemplateMember(QStringLiteral("樱花~2~1~"));
    EXPECT_EQ(m.name, QString::fromUtf16(u"樱花"));
    EXPECT_EQ(m.landscapeCount, 2);
    EXPECT_EQ(m.portraitCount, 1);
    EXPECT_TRUE(m.names(QString::fromUtf16(u"樱花"), 2, 1));
    EXPECT_FALSE(m.names(QString::fromUtf16(u"樱花"), 2, 0));
    // Counts compare as written: "02" names no template with 2 slots.
    const CombinedTemplateMember padded = parseCombinedTemplateMember(QStringLiteral("樱花~02~1~"));
    EXPECT_EQ(padded.landscapeCount, 2);
    EXPECT_FALSE(padded.names(QString::fromUtf16(u"樱花"), 2, 1));
}

}  // namespace
}  // namespace vellumo
