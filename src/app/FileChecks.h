#pragma once

#include <QString>

// Existence tests that every part of the program makes before it relies on the file system.
// They never throw, never report, and never change the current folder.

// True when path names an existing file (a file of zero bytes exists; a folder is no file).
bool FileExists(const QString &path);

// True when path names an existing folder. A trailing separator is allowed.
bool DirExists(const QString &path);

// The full path of name in folder: one "/" between them, none added when folder already ends
// in one (the root folder "/").
QString FullPathOf(const QString &folder, const QString &name);
