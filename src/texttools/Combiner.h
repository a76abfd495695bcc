#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Joins files into one: the first file's bytes, then each further file's bytes followed by
// CR LF, nothing else. The result goes to a temporary file beside the target that replaces
// the target only when every file was copied, so a failure leaves an existing target whole.
// Asking whether to replace a target and refusing a target that is one of the sources are the
// caller's.
class Combiner
{
public:
    // Called after each further file has been appended, with its index in the list (1 on).
    using Progress = std::function<void(int index)>;

    // True when the two paths name the same file: the same text, or another spelling of an
    // existing file (a "..", a doubled "/", a link, a hard link).
    static bool isSameFile(const QString &a, const QString &b);

    // False when a file could not be read or the target could not be written; errorString()
    // then says which and why.
    bool combine(const QStringList &files, const QString &target, const Progress &progress = {});
    QString errorString() const { return m_error; }

private:
    QString m_error;
};
