#pragma once

#include "interchange/InterchangeFormat.h"

#include <QStringList>

class CommandLineTool;

// "zadanix export --format" and "zadanix import --format [--split]": a test or question out to Moodle
// XML, GIFT or Aiken, and the questions of such a file into a test or a folder of question files.
// Every note goes to standard error as a warning; exit 0 when something was written, 1 with the reason
// when nothing could be.
namespace InterchangeCommands {

// FILE [OUT]; without OUT to standard output.
int exportQuestions(CommandLineTool &tool, const QStringList &args, InterchangeFormat format);
// IN OUT.skt, or with `split` IN FOLDER.
int importQuestions(CommandLineTool &tool, const QStringList &args, InterchangeFormat format, bool split);

} // namespace InterchangeCommands
