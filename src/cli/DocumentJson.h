#pragma once

#include "DocumentSnapshot.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The JSON form of every document kind (UTF-8, indented). Integers are numbers, texts strings; the
// keys of a settings file keep their file order.
namespace DocumentJson {

QByteArray toJson(const DocumentSnapshot &document);

// Reads and checks the JSON form: types, the keys of its kind (unknown keys are refused), at most 45
// questions and exactly as many as "questionCount" says, five answers and five thresholds, integers
// that fit, attachment names a document can hold, and settings a reader will accept. Attachments
// come back with their "path" as given (empty when none). On failure `error` says where and why.
std::optional<DocumentSnapshot> fromJson(QByteArrayView json, QString *error);

} // namespace DocumentJson
