#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QRandomGenerator;
class TpkXML;

// The two codings of stored values.
//
// Document coding: a value of a document member is Base64 of its UTF-16LE form when the document's
// marker "cd" reads "tr".
// Settings coding: a value of a settings file (or an old document line) is a byte substitution behind
// a random prefix, so the same text codes differently each time it is written.

// Error codes of the document accessors.
enum DocError : int { DocOk = 0, DocTreeError = 1, DocCodingError = 2, DocNotInteger = 3 };

// A value path: the document element and one to three element names below it.
using DocPath = QList<QString>;

QString EncodeWide(QStringView text);
QString DecodeWide(QStringView base64);
QByteArray DecodeBytes(QStringView base64);

QString ReadDocString(bool coded, const DocPath &path, TpkXML &doc, int &error);
int ReadDocInteger(bool coded, const DocPath &path, TpkXML &doc, int &error);
void WriteDocString(bool coded, const DocPath &path, const QString &value, TpkXML &doc, int &error);
void WriteDocInteger(bool coded, const DocPath &path, qint64 value, TpkXML &doc, int &error);

// Whether the document under `documentElement` declares coded values ("cd" is exactly "tr").
bool IsDocumentCoded(TpkXML &doc, const QString &documentElement);

// Settings coding works on 8-bit (Windows-1250) text.
QByteArray EncodeSetting(QByteArrayView text, QRandomGenerator &rng);
// No value for an empty input: a missing settings key reads as a failure.
std::optional<QByteArray> DecodeSetting(QByteArrayView coded);
std::optional<QByteArray> DecodeSettingOld(QByteArrayView coded);

// Settings accessors on "Ini"/key.
void WriteSettingString(const QString &key, const QString &value, TpkXML &doc, QRandomGenerator &rng);
void WriteSettingInteger(const QString &key, qint64 value, TpkXML &doc, QRandomGenerator &rng);
void WriteSettingFlag(const QString &key, bool value, TpkXML &doc, QRandomGenerator &rng);
std::optional<QString> ReadSettingString(const QString &key, TpkXML &doc);
// On any failure `target` becomes 0 and the result is false.
bool ReadSettingInteger(const QString &key, int &target, TpkXML &doc);
// True exactly when the decoded value is "1"; no value when it cannot be decoded.
std::optional<bool> ReadSettingFlag(const QString &key, TpkXML &doc);
