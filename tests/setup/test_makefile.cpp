#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include "tests/support/test_files.h"

namespace vellumo {
namespace {

struct MakeRun {
    int exitCode = -1;
    QString output;
};

// Runs the checkout's Makefile on target with the given variables and a PATH of only path.
MakeRun make(const QString& target, const QStringList& variables, const QString& path) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), path);
    // Run from "make test", the outer make's job server is not this make's business.
    for (const char* name : {"MAKEFLAGS", "MFLAGS", "MAKELEVEL"}) {
        environment.remove(QString::fromLatin1(name));
    }
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(
        QStringLiteral("/usr/bin/make"),
        QStringList{QStringLiteral("--no-print-directory"), QStringLiteral("-C"),
                    qEnvironmentVariable("VELLUMO_SOURCE_DIR"), target, QStringLiteral("JOBS=1")} +
            variables);
    MakeRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAll());
    return run;
}

QString script(const test::TempFolder& folder, const QString& name, const QByteArray& body) {
    const QString path = folder.write(name, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

TEST(Makefile, CompilerCacheIsDecidedAfterThePackagesAreInstalled) {
    // A fresh machine: no ccache on the PATH until the package step has installed it.
    test::TempFolder temp;
    const QString bin = temp.mkdir("bin");
    const QString deps = script(temp, "install-deps.sh",
                                "printf '#!/bin/sh\\n' > '" + bin.toUtf8() +
                                    "/ccache'\n/bin/chmod +x '" + bin.toUtf8() + "/ccache'\n");
    const QString cmake =
        script(temp, "cmake", "echo \"$@\" > '" + temp.path().toUtf8() + "args'\n");
    const MakeRun run =
        make(QStringLiteral("configure"),
             {"BUILD=" + temp.path() + "build", "INSTALL_DEPS=" + deps, "CMAKE=" + cmake}, bin);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_TRUE(QFileInfo::exists(bin + "/ccache"));
    // The first configure already uses it, so the next make does not configure again with it
    // and rebuild everything.
    EXPECT_TRUE(
        test::readFile(temp.path() + "args").contains("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"))
        << test::readFile(temp.path() + "args").toStdString();
}

TEST(Makefile, BenchmarksRunAreTheProgramsOnly) {
    test::TempFolder temp;
    const QByteArray ran = temp.path().toUtf8() + "ran";
    script(temp, "build/bench/bench_a", "echo a >> '" + ran + "'\n");
    script(temp, "build/bench/bench_b", "echo b >> '" + ran + "'\n");
    // What the build puts beside them: a folder of generated sources, a plain file.
    temp.mkdir("build/bench/bench_a_autogen");
    temp.write("build/bench/bench_notes.txt", "not a program");
    const MakeRun run = make(QStringLiteral("run-benchmarks"), {"BUILD=" + temp.path() + "build"},
                             QStringLiteral("/usr/bin:/bin"));
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(test::readFile(temp.path() + "ran"), QByteArray("a\nb\n"));

    // A benchmark that fails makes the run fail.
    script(temp, "build/bench/bench_c", "exit 3\n");
    EXPECT_NE(make(QStringLiteral("run-benchmarks"), {"BUILD=" + temp.path() + "build"},
                   QStringLiteral("/usr/bin:/bin"))
                  .exitCode,
              0);
}

}  // namespace
}  // namespace vellumo
