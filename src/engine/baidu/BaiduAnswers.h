#pragma once

#include <QString>
#include <QStringView>

// How the Baidu answers are taken apart: plain cuts at fixed markers, so a missing marker gives
// an empty value, never an error. Free of any exchange, so each can be tried on any text.
namespace baidu {

// The value after start + offset up to end: empty when end is missing.
QString CutValue(const QString& text, QStringView start, qsizetype offset, QStringView end);

// The display name on the passport's root page: after the ">" that follows "displayUsername"
// (or from the start without it), up to the next "<".
QString DisplayNameOf(const QString& page);

// The files of a query_magnetinfo answer to download: the numbers (from 1) of those whose
// extension has at most three characters, joined by an escaped comma ("1%2C3"); "1" for none.
QString ChooseFiles(const QString& fileList);

// Whether an answer reports an error: "error_code" with a value before the next comma.
bool IsErrorAnswer(const QString& body);

// An add_task answer that asks for a verification code: its code string and image address.
bool ReadVerificationRequest(const QString& body, QString& vcodeString, QString& imageUrl);

}  // namespace baidu
