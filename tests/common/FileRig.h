#pragma once
// Whole files read and written, a write that fails on any file system, and the pages of
// a PDF file: for the tests of what the client saves and prints.
#include <QFile>
#include <QRegularExpression>

#include <csignal>
#include <sys/resource.h>

inline QByteArray ReadFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Runs write() under a 64-byte file-size limit, which cuts a write short as a full disk
// would, also for root and whatever the file system.
template <class Write> void UnderFileSizeLimit(Write write)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    write();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
}

inline int PdfPages(const QString& name)
{
    static const QRegularExpression page("/Type\\s*/Page(?![a-zA-Z])");
    return int(QString::fromLatin1(ReadFile(name)).count(page));
}
