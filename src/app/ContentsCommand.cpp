#include "app/ContentsCommand.h"

#include "book/BookContents.h"
#include "book/BookState.h"
#include "settings/BookHistory.h"
#include "settings/RecordCodec.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

// The number of lines a page the reader saved last; 15 when it saved none.
int savedLinesPerPage()
{
    QFile file(ConfigFilePath());
    GlobalData data;
    if (file.open(QIODevice::ReadOnly))
        RecordCodec::decode(file.readAll(), data);
    data.applyDefaultsRule();
    return data.LinesPerPage;
}

} // namespace

namespace ContentsCommand {

int run(const QString &book, std::optional<int> linesPerPage, QTextStream &out, QTextStream &errors)
{
    const int perPage = linesPerPage.value_or(savedLinesPerPage());
    BookHistory history;
    history.load(ConfigFolderPath() + QStringLiteral("/history"));
    // Of an archive of several books, the one read from it last.
    QString name = book;
    const QString member = history.memberReadLast(book);
    if (!member.isEmpty() && BookSource::split(book).member.isEmpty())
        name = BookSource::join(book, member);
    const BookHistory::Place place =
        history.place(name).value_or(BookHistory::Place(name, 0, 0, {}));

    Book read;
    const BookSource::Opened opened =
        BookSource::load(read, name, perPage, TextCodec::encodingForName(place.encoding));
    if (!opened.choices.isEmpty()) {
        errors << "The archive holds several books; name the one to read as" << Qt::endl;
        for (const ArchiveFile::Member &choice : opened.choices)
            errors << "  " << BookSource::join(book, choice.name) << Qt::endl;
        return 1;
    }
    if (opened.result.status != Book::Status::Loaded) {
        errors << (opened.message.isEmpty()
                       ? BookState::loadFailureMessage(opened.result, name, perPage)
                       : opened.message)
               << Qt::endl;
        return 1;
    }
    const BookContents contents(read.heldBytes(), read.textStart(), read.bytesEncoding(),
                                place.chapters);
    out.setEncoding(QStringConverter::Utf8);
    for (const Chapter &entry : contents.entries())
        out << read.pageAt(entry.offset) + 1 << '\t' << entry.level << '\t' << entry.title.trimmed()
            << '\n';
    out.flush();
    return 0;
}

} // namespace ContentsCommand
