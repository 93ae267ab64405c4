// STEP4's one-line commands and STEP5's text programs: any text must check
// without a crash; a command that parses has a step code of the lamp, and a
// program that checks gives 20 step codes of the lamp's code range.
#include "TextCommand.h"
#include "TextProgramChecker.h"

#include <cstdint>
#include <cstdlib>

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const TTextCommand::Words words{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue"),
                                    QStringLiteral("yellow"), QStringLiteral("purple"), QStringLiteral("lightblue"),
                                    QStringLiteral("white")};
    const TTextCommand command = TTextCommand::Parse(text, words);
    if (command.IsValid()) {
        Require(command.Colour() >= 0 && command.Colour() < TTextCommand::ColourCount);
        Require(command.StepCode() >= 160 && command.StepCode() <= 215);
    }

    QStringList programWords = TTextProgramChecker::DefaultWords();
    const TTextProgramChecker::Result result = TTextProgramChecker::Check(text, programWords);
    Require(programWords.size() == TTextProgramChecker::WordCount);
    if (result.ok) {
        Require(result.programList.size() == 20);
        for (const QString &code : result.programList) {
            bool number = false;
            const int value = code.toInt(&number);
            Require(number && value >= 0 && value <= 255);
        }
    } else {
        Require(!result.message.isEmpty() && result.programList.isEmpty());
    }
    return 0;
}
