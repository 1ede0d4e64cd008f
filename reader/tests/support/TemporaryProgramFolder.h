#ifndef TEMPORARYPROGRAMFOLDER_H
#define TEMPORARYPROGRAMFOLDER_H

// The reader keeps its files beside the program. To test that for real,
// a test executable copies itself into a fresh temporary folder, runs the
// copy there and removes the folder afterwards, so every run starts with
// an empty program folder and never touches the build tree.

#include <QMimeData>
#include <QtTest>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace TemporaryProgramFolder
{

inline constexpr const char *ChildMarker = "QUIRELLE_TEST_IN_PROGRAM_FOLDER";

inline int relaunchInTemporaryFolder(char **argv)
{
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/quirelle-program-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path folder(pattern);
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path copy = folder / self.filename();
    fs::copy_file(self, copy);

    const pid_t child = fork();
    if (child == 0) {
        setenv(ChildMarker, "1", 1);
        argv[0] = const_cast<char *>(copy.c_str());
        execv(copy.c_str(), argv);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Returns the path; a test cannot go on without its file.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The application only routes a drop to the target of a running drag; the
// window gets it as the drag manager would hand it over.
inline void dropFile(QWidget *window, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject *>(window)->event(&drop);
}

} // namespace TemporaryProgramFolder

// Like QTEST_MAIN, but the test runs from a copy of the executable in an
// empty temporary folder. A closed window or dialog must not make the
// application quit inside the next modal dialog.
#define QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestObject)                                           \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty(TemporaryProgramFolder::ChildMarker))                      \
            return TemporaryProgramFolder::relaunchInTemporaryFolder(argv);                        \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        QApplication::setQuitOnLastWindowClosed(false);                                            \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#endif // TEMPORARYPROGRAMFOLDER_H
