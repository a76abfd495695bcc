// Opening a book and showing one of its pages, on generated books of 1, 5 and 25 MB.

#include "BookFiles.h"
#include "book/Book.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

using BookFiles::Charset;
using BookFiles::LineEnd;

constexpr int kLinesPerPage = 15;
constexpr qsizetype kMegabyte = 1000 * 1000;

// Each book is written once, the first time a benchmark asks for it, into one folder that
// lives as long as the program.
class BookShelf
{
public:
    bool isValid() const { return m_folder.isValid(); }

    QString path(int megabytes, LineEnd lineEnd, Charset charset)
    {
        const QString name =
            BookFiles::kindName(lineEnd, charset) + u'-' + QString::number(megabytes) + u"mb.txt";
        auto found = m_written.find(name);
        if (found == m_written.end()) {
            const QString path = QDir(m_folder.path()).filePath(name);
            if (!BookFiles::write(path, megabytes * kMegabyte, lineEnd, charset))
                return {};
            found = m_written.emplace(name, path).first;
        }
        return found->second;
    }

private:
    QTemporaryDir m_folder;
    std::map<QString, QString> m_written;
};

BookShelf *shelf = nullptr;

void loadBook(benchmark::State &state, int megabytes, LineEnd lineEnd, Charset charset)
{
    const QString path = shelf->path(megabytes, lineEnd, charset);
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the book");
        return;
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        Book book;
        const Book::LoadResult result = book.load(path, kLinesPerPage);
        if (result.status != Book::Status::Loaded) {
            state.SkipWithError("the book did not load");
            break;
        }
        bytes = book.byteSize();
        benchmark::DoNotOptimize(book);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

// A page from the middle: its cost should be the same whatever the size of the book.
void pageText(benchmark::State &state, int megabytes)
{
    Book book;
    const QString path = shelf->path(megabytes, LineEnd::Lf, Charset::Utf8);
    if (path.isEmpty() || book.load(path, kLinesPerPage).status != Book::Status::Loaded) {
        state.SkipWithError("the book did not load");
        return;
    }
    const int middle = book.pageCount() / 2;
    for (auto _ : state) {
        QString text = book.pageText(middle);
        benchmark::DoNotOptimize(text);
    }
    state.counters["pages"] = book.pageCount();
}

void registerBenchmarks()
{
    for (const LineEnd lineEnd : {LineEnd::Lf, LineEnd::CrLf}) {
        for (const Charset charset :
             {Charset::Ascii, Charset::Utf8, Charset::Windows1251, Charset::Utf16}) {
            for (const int megabytes : {1, 5, 25}) {
                const std::string name = "load/"
                    + BookFiles::kindName(lineEnd, charset).toStdString() + '/'
                    + std::to_string(megabytes) + "MB";
                benchmark::RegisterBenchmark(name.c_str(), loadBook, megabytes, lineEnd, charset)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    for (const int megabytes : {1, 25}) {
        const std::string name = "pageText/middle/" + std::to_string(megabytes) + "MB";
        benchmark::RegisterBenchmark(name.c_str(), pageText, megabytes)
            ->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char **argv)
{
    BookShelf books;
    if (!books.isValid()) {
        std::fprintf(stderr, "bench_book: cannot create a temporary folder\n");
        return 1;
    }
    shelf = &books;
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
