// The window's figures: one Start click on 1, 10 and 50 MB of short CJK lines until box and
// clipboard are updated, with peak memory; and start-up until the window is first shown. Each
// figure comes from a fresh process, so peaks and start-up costs do not mix.
#include "bench/textgen.h"
#include "runtime/translation.h"
#include "window/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <sys/resource.h>

namespace {

double peakMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

qint64 nowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

int startupChild(qint64 launchedNs, int argc, char **argv)
{
    QApplication app(argc, argv);
    zanvo::installChineseTranslation(app);
    zanvo::Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    std::printf("%.1f\n", static_cast<double>(nowNs() - launchedNs) / 1e6);
    return 0;
}

int clickChild(int megabytes, int argc, char **argv)
{
    QApplication app(argc, argv);
    zanvo::Form1 form;
    form.show();
    auto *box = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    const std::u16string text
        = zanvo::bench::cjkLinesUtf16(std::size_t(megabytes) * 1000 * 1000 * 2 / 3);
    box->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    const double before = peakMiB();
    QElapsedTimer timer;
    timer.start();
    form.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const bool copied = QGuiApplication::clipboard()->text().size() > 0;
    std::printf("%d MB: click %.3f s, peak %.0f MiB (%.0f MiB before the click), undo %s, "
                "clipboard %s\n",
                megabytes, seconds, peakMiB(), before,
                box->document()->isUndoAvailable() ? "kept" : "LOST", copied ? "set" : "EMPTY");
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
    if (argc >= 3 && qstrcmp(argv[1], "--click") == 0)
        return clickChild(QByteArray(argv[2]).toInt(), argc, argv);

    QCoreApplication app(argc, argv);
    std::printf("Text: short CJK lines, about 10 %% empty; sizes are the text's UTF-8 size.\n");
    for (int megabytes : {1, 10, 50})
        std::printf("%s\n", qPrintable(runChild({"--click", QString::number(megabytes)})));
    QList<double> startups;
    for (int i = 0; i < 5; ++i)
        startups << runChild({"--startup", QString::number(nowNs())}).toDouble();
    std::sort(startups.begin(), startups.end());
    std::printf("start-up to first show: median %.1f ms (min %.1f, max %.1f) over %lld runs\n",
                startups[startups.size() / 2], startups.first(), startups.last(),
                static_cast<long long>(startups.size()));
    return 0;
}
