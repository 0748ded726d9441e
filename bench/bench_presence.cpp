// Reading the presence line from a big page: the reader should scan at memory speed. Pages are
// ASCII HTML, so one character stands for one byte of the page.
//     build/bench/bench_presence
#include "presence/presencereader.h"
#include "presence/splitbydelimiter.h"

#include <QString>

#include <benchmark/benchmark.h>

namespace {

QString bigPage(qsizetype bytes, int names) {
    QString line = QStringLiteral("<font size=1>Online now: %1 ").arg(names);
    for (int i = 0; i < names; ++i)
        line += QStringLiteral("| User%1 ").arg(i);
    line += QStringLiteral("</font></body></html>");
    QString page = QStringLiteral("<html><body>");
    // Markup with colons and tags, as a real page has, so the scan meets many false starts.
    const QString filler =
        QStringLiteral("<p>Some Chat Text: <b>bold</b> <a href=\"http://x/\">link</a>.</p>\n");
    while (page.size() + line.size() < bytes)
        page += filler;
    return page + line;
}

void readPresenceAtEndOfPage(benchmark::State& state) {
    const QString page = bigPage(1024 * 1024, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PresenceReading reading = readPresence(page);
        benchmark::DoNotOptimize(reading);
    }
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(readPresenceAtEndOfPage)->Arg(10)->Arg(1000);

void splitLongList(benchmark::State& state) {
    QStringList names;
    for (int i = 0; i < state.range(0); ++i)
        names.append(QStringLiteral(" user%1 ").arg(i));
    const QString text = names.join(QLatin1Char('|'));
    for (auto _ : state) {
        QStringList pieces =
            SplitByDelimiter(QLatin1Char('|'), text, static_cast<int>(text.size()) + 1);
        benchmark::DoNotOptimize(pieces);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(splitLongList)->Arg(100)->Arg(10000);

} // namespace

BENCHMARK_MAIN();
