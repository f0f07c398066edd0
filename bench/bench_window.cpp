// The window's figures: paste (Ctrl+V), Start, the result read by another program (xclip),
// Ctrl+Z, 删除重复行 and 删除空白行 on 1, 10 and 50 MB of short CJK lines (each twice) and on one
// line of 2 MB, and a GBK file of as many MB dropped on the box (as GB18030, which holds GBK, is
// read), each with the longest time the event loop did not turn (the largest gap of a 10 ms
// timer) and peak memory; the memory held after ten Starts in a row, which undo's budget bounds;
// start-up until the window is first shown; the Start set against zanvo-scramble on the same
// text, and a Start on 50 MB step by step. Each figure comes from a fresh process, so peaks and
// start-up costs do not mix.
#include "bench/textgen.h"
#include "scrambler/scrambler.h"
#include "window/form/platform.h"
#include "window/qt/form1window.h"
#include "window/qt/qtservices.h"
#include "window/qt/scintillacontrol.h"
#include "window/qt/translation.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double peakMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

qint64 nowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

// The largest gap between the ticks of a 10 ms timer since the last reset: how long the window
// could not answer.
class StallMonitor {
public:
    StallMonitor()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_largest = std::max(m_largest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void reset()
    {
        m_last = m_clock.elapsed();
        m_largest = 0;
    }
    qint64 largestMs() const { return m_largest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_largest = 0;
};

std::string twice(std::string lines)
{
    lines += "\r\n";
    lines += lines;
    return lines;
}

// Lets the event loop run for ms, so that work left over from the step (layout, wrapping)
// shows in the gaps too.
void settle(int ms)
{
    QTest::qWait(ms);
}

// utf8 in GB18030, through iconv as the window reads it back.
QByteArray toGb18030(const std::string &utf8)
{
    QByteArray out(static_cast<qsizetype>(utf8.size()) + 16, '\0');
    const iconv_t converter = iconv_open("GB18030", "UTF-8");
    auto *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = static_cast<std::size_t>(out.size());
    char *to = out.data();
    iconv(converter, &in, &inLeft, &to, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

// A file dropped on the box as a file manager drops it.
void dropFile(QWidget *edit, const QString &name)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(name)});
    QWidget *viewport = static_cast<QAbstractScrollArea *>(edit)->viewport();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}

// How long zanvo-scramble, beside this program, takes on utf8 from its start to its end, its
// result sent nowhere: the median of three runs.
double scrambleSeconds(const std::string &utf8)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("list.txt")));
    file.open(QIODevice::WriteOnly);
    file.write(utf8.data(), static_cast<qint64>(utf8.size()));
    file.close();
    std::vector<double> seconds;
    for (int run = 0; run < 3; ++run) {
        QProcess scramble;
        scramble.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        scramble.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zanvo-scramble"),
                       {QStringLiteral("-s"), QStringLiteral("1"), file.fileName()});
        scramble.waitForFinished(-1);
        seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[1];
}

int startupChild(qint64 launchedNs, int argc, char **argv)
{
    QApplication app(argc, argv);
    zanvo::installChineseTranslation(app);
    zanvo::QtServices services;
    zanvo::Form1Window form(services);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    std::printf("%.1f\n", static_cast<double>(nowNs() - launchedNs) / 1e6);
    return 0;
}

// The window as the program shows it, in a child process of the benchmark's own.
struct ShownWindow {
    QApplication app;
    zanvo::QtServices services;
    zanvo::Form1Window form {services};

    ShownWindow(int &argc, char **argv) : app(argc, argv) { form.show(); }
    bool exposed() { return QTest::qWaitForWindowExposed(&form); }
};

// One text: paste, Start, Ctrl+Z, 删除重复行, 删除空白行, each timed until its result is in the
// box; then, with repeats, that many Starts more and the memory held after them.
int caseChild(const QString &text, int repeats, int argc, char **argv)
{
    ShownWindow shown(argc, argv);
    if (!shown.exposed())
        return 1;
    zanvo::Form1Window &form = shown.form;
    // The lines twice over, so that 删除重复行 has half of them to leave out.
    const std::string utf8 = text == QLatin1String("line")
        ? std::string(zanvo::bench::cjkLinesUtf8(3 * 1000 * 1000).substr(0, 2 * 1000 * 1000))
        : twice(zanvo::bench::cjkLinesUtf8(std::size_t(text.toInt()) * 500 * 1000));
    QString clip = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (text == QLatin1String("line"))
        clip.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    else
        clip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QGuiApplication::clipboard()->setText(clip);
    clip.clear();
    zanvo::TextBox &box1 = form.text1();
    QWidget *edit = form.findChild<QWidget *>(QStringLiteral("Text1"));
    edit->setFocus();
    StallMonitor stalls;
    QElapsedTimer timer;
    auto step = [&](const char *name, const std::function<void()> &action,
                    const std::function<bool()> &done) -> double {
        settle(200);
        stalls.reset();
        timer.start();
        action();
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        settle(500);
        std::printf("%s %.3f s (gap %lld ms)  ", name, seconds,
                    static_cast<long long>(stalls.largestMs()));
        return seconds;
    };
    step(
        "paste", [&] { QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); },
        [&] { return !box1.isEmpty(); });
    const std::size_t pasted = box1.text().size();
    QSignalSpy finished(&form, &zanvo::Form1Window::jobFinished);
    const double startSeconds = step(
        "start", [&] { form.findChild<QPushButton *>(QStringLiteral("Command1"))->click(); },
        [&] { return finished.count() > 0; });
    if (text != QLatin1String("line")) {
        const double alone = scrambleSeconds(utf8);
        std::printf("(zanvo-scramble %.3f s, Start %.1f times that)  ", alone,
                    startSeconds / alone);
    }
    std::printf("(peak so far %.0f MiB)  ", peakMiB());
    // Another program pastes the result: the window hands the clipboard's text over as asked.
    QProcess reader;
    reader.setStandardOutputFile(QProcess::nullDevice());
    step(
        "read by xclip",
        [&] {
            reader.start(
                QStringLiteral("xclip"),
                {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
        },
        [&] { return reader.state() == QProcess::NotRunning; });
    step(
        "undo", [&] { QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier); },
        [&] { return box1.text().size() == pasted; });
    // 删除空白行 runs on what 删除重复行 left, whose empty lines are its to leave out.
    for (const auto &[name, command] :
         {std::pair {"unique", zanvo::EditCommand::RemoveDuplicates},
          std::pair {"blank", zanvo::EditCommand::RemoveBlankLines}}) {
        const auto before = finished.count();
        step(
            name, [&] { static_cast<zanvo::ScintillaControl *>(edit)->box().run(command); },
            [&] { return finished.count() > before; });
    }
    if (text != QLatin1String("line")) {
        // Short CJK lines take two bytes a character in GBK where UTF-8 takes three.
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("list.txt")));
        file.open(QIODevice::WriteOnly);
        file.write(toGb18030(zanvo::bench::cjkLinesUtf8(std::size_t(text.toInt()) * 1500 * 1000)));
        file.close();
        const auto before = finished.count();
        step(
            "drop", [&] { dropFile(edit, file.fileName()); },
            [&] { return finished.count() > before; });
        std::printf("(%.1f MB GBK)  ", static_cast<double>(file.size()) / 1e6);
    }
    std::printf("peak %.0f MiB%s", peakMiB(),
                QGuiApplication::clipboard()->text().size() > 0 ? "" : "  (NOT COPIED)");
    if (repeats > 0) {
        auto *start = form.findChild<QPushButton *>(QStringLiteral("Command1"));
        for (int i = 0; i < repeats; ++i) {
            const auto before = finished.count();
            start->click();
            while (finished.count() == before)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        settle(500);
        std::printf("  after %d Starts more: %.0f MiB held", repeats, residentMiB());
    }
    std::printf("\n");
    return 0;
}

// A Start's steps one at a time, as a Start takes them, on the window's own box and clipboard:
// the box read, the core alone, the core's result as one string, that result handed to a new
// document (and again with blanks for its line breaks, which leaves out Scintilla's line index)
// and to the clipboard's text in the pieces a Start hands over, the document shown (undo keeps
// the text it replaces), the text put on the clipboard, and the window drawn. Three rounds:
// the first touches memory the process has not used before.
int breakdownChild(int megabytes, int argc, char **argv)
{
    ShownWindow shown(argc, argv);
    if (!shown.exposed())
        return 1;
    zanvo::QtServices &services = shown.services;
    zanvo::Form1Window &form = shown.form;
    zanvo::ScintillaBox &box = form.text1();
    box.replace(twice(zanvo::bench::cjkLinesUtf8(std::size_t(megabytes) * 500 * 1000)));
    zanvo::Clipboard &clipboard = services.clipboard();
    zanvo::RandomSource random(1);
    std::vector<std::pair<const char *, std::vector<double>>> steps;
    const auto time
        = [&steps](std::size_t at, const char *name, const std::function<void()> &work) {
              settle(100);
              QElapsedTimer timer;
              timer.start();
              work();
              if (steps.size() <= at)
                  steps.push_back({name, {}});
              steps[at].second.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
          };
    struct Discard {
        void reserve(std::size_t) { }
        void write(const char *, std::size_t) { }
    };
    constexpr std::size_t piece = 256 * 1024; // as a Start hands its result over
    for (int round = 0; round < 3; ++round) {
        std::string_view text;
        std::string result, copied;
        std::unique_ptr<zanvo::TextBox::Content> document;
        std::unique_ptr<zanvo::Clipboard::Content> clip;
        time(0, "read the box", [&] { text = box.text(); });
        time(1, "the core alone",
             [&] { zanvo::scrambleTo(text, random, zanvo::LineBreak::CrLf, Discard()); });
        time(2, "the core into a string", [&] {
            zanvo::scrambleTo(text, random, zanvo::LineBreak::CrLf,
                              zanvo::StringSink<char>(result));
        });
        time(3, "the new document's pieces", [&] {
            document = box.newContent();
            document->reserve(result.size());
            for (std::size_t at = 0; at < result.size(); at += piece)
                document->add(result.data() + at, std::min(piece, result.size() - at));
            document->finish();
        });
        // The same bytes with blanks for line breaks: what Scintilla's line index adds to it.
        std::string flat = result;
        std::replace_if(
            flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        time(4, "the same without breaks", [&] {
            auto unbroken = box.newContent();
            unbroken->reserve(flat.size());
            for (std::size_t at = 0; at < flat.size(); at += piece)
                unbroken->add(flat.data() + at, std::min(piece, flat.size() - at));
            unbroken->finish();
        });
        time(5, "the clipboard's text", [&] {
            clip = clipboard.newContent();
            clip->reserve(result.size());
            for (std::size_t at = 0; at < result.size(); at += piece) {
                copied.clear();
                zanvo::appendCopiedLineBreaks(zanvo::thisPlatform(), copied,
                                              std::string_view(result).substr(at, piece));
                clip->add(copied);
            }
            clip->finish();
        });
        time(6, "show the document", [&] { box.show(std::move(document), 0); });
        time(7, "put on the clipboard", [&] { clipboard.put(std::move(clip)); });
        time(8, "draw the window", [&] { form.repaint(); });
    }
    for (const auto &[name, ms] : steps)
        std::printf("  %-26s %7.1f ms first, %7.1f and %7.1f ms after\n", name, ms[0], ms[1],
                    ms[2]);
    return 0;
}

QString runChild(const QStringList &args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    child.waitForFinished(-1);
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--startup") == 0)
        return startupChild(QByteArray(argv[2]).toLongLong(), argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], "--breakdown") == 0)
        return breakdownChild(QByteArray(argv[2]).toInt(), argc, argv);
    if (argc >= 4 && qstrcmp(argv[1], "--case") == 0)
        return caseChild(QString::fromLatin1(argv[2]), QByteArray(argv[3]).toInt(), argc, argv);

    QCoreApplication app(argc, argv);
    std::printf("Text: short CJK lines, about 10 %% empty, each line twice, or one line of 2 MB; "
                "sizes in UTF-8.\n");
    for (const char *text : {"1", "10", "50", "line"}) {
        const char *repeats = qstrcmp(text, "50") == 0 ? "10" : "0";
        std::printf("%4s %s\n", text, qPrintable(runChild({"--case", text, repeats})));
        std::fflush(stdout);
    }
    QList<double> startups;
    for (int i = 0; i < 5; ++i)
        startups << runChild({"--startup", QString::number(nowNs())}).toDouble();
    std::sort(startups.begin(), startups.end());
    std::printf("start-up to first show: median %.1f ms (min %.1f, max %.1f) over %lld runs\n",
                startups[startups.size() / 2], startups.first(), startups.last(),
                static_cast<long long>(startups.size()));
    std::printf("A Start on 50 MB, step by step:\n%s\n",
                qPrintable(runChild({"--breakdown", "50"})));
    return 0;
}
