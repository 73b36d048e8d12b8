#pragma once
// Shared pieces of the report view tests: the texts of a PDF file through
// pdftotext (when installed), and a scratch folder.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

namespace ch::test {

inline bool havePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of the PDF file in reading order, pages separated by form feeds,
// ligatures written out; none when pdftotext fails.
inline std::optional<std::string> pdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return std::nullopt;
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    text.replace(QChar(0xFB01), QStringLiteral("fi"));
    text.replace(QChar(0xFB02), QStringLiteral("fl"));
    return text.toStdString();
}

// The text without its blanks: page numbers are drawn glyph by glyph.
inline std::string withoutBlanks(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

// Pages of pdftotext's output: one form feed ends each page.
inline std::size_t pagesOf(const std::string& text)
{
    std::size_t pages = 0;
    for (char c : text)
        if (c == '\f') ++pages;
    return pages;
}

} // namespace ch::test
