#include "TextProgramChecker.h"

#include "CommandCodes.h"

#include <QRegularExpression>

namespace {

// A repeat needs a body line and its end after its start.
constexpr int kLastRepeatStartLine = LampCode::ProgramLength - 2;

QString LineError(int line, const char *tail)
{
    return QStringLiteral("文法エラー") + QString::number(line) + QString::fromUtf8(tail);
}

constexpr QStringView kLine = u"行目";
constexpr TLightWording kLineWording{kLine, u"繰り返しが終了していません"};

// The variant of a colour or off step for its argument text, or -1.
int StepVariant(const QString &argument)
{
    if (argument == QLatin1String("0.5"))
        return 0;
    if (argument.size() == 1 && argument.at(0) >= QLatin1Char('1') && argument.at(0) <= QLatin1Char('7'))
        return argument.at(0).unicode() - '0';
    return -1;
}

// A repeat count written in decimal digits, or -1. Signs, spaces and other
// bases are not counts a pupil means.
int RepeatCount(const QString &argument)
{
    if (argument.isEmpty() || argument.size() > 4)
        return -1;
    int value = 0;
    for (const QChar c : argument) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return (value >= 1 && value <= LampCode::RepeatCountMax) ? value : -1;
}

// The command lines: blank lines and comment lines removed, trailing comments
// cut, each line trimmed.
QStringList CommandLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString &raw : text.split(lineBreak)) {
        if (raw.isEmpty())
            continue;
        const QString line = TTextProgramChecker::TrimAscii(raw);
        if (!line.isEmpty() && !line.startsWith(QLatin1String("//")))
            lines.append(line);
    }
    for (QString &line : lines) {
        const qsizetype comment = line.indexOf(QLatin1String("//"));
        if (comment >= 0)
            line.truncate(comment);
        line = TTextProgramChecker::TrimAscii(line);
    }
    return lines;
}

// Reads the command lines into the light-program language one by one, so
// the first fault in line order is the one reported.
class CheckRun {
public:
    explicit CheckRun(const QStringList &words) : m_words(words) {}

    // The failure message, or an empty string when the line is good.
    QString Line(const QString &line, int n)
    {
        const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
        if (semicolon < 0)
            return LineError(n, "行目「;」");
        const QString command = line.left(semicolon);
        if (command == m_words.at(TTextProgramChecker::WordJump))
            return Take(TLightItem::RepeatEnd(n));
        if (command == m_words.at(TTextProgramChecker::WordWait))
            return Take(TLightItem::Wait(n));
        const qsizetype open = line.indexOf(QLatin1Char('('));
        if (open < 0)
            return LineError(n, "行目「(」");
        const qsizetype close = line.indexOf(QLatin1Char(')'));
        if (close < 0)
            return LineError(n, "行目「)」");
        if (semicolon != close + 1)
            return LineError(n, "行目「;」");
        if (semicolon + 1 < line.size())
            return LineError(n, "行目(命令数は１行に１つのみです)\n")
                + LineError(n, "行目(全角スペースは使用しないで下さい)");
        // Here '(' stands before ')': it exists and precedes the ';' that follows ')'.
        return Command(line.left(open), line.mid(open + 1, close - open - 1), n);
    }

    const TLightProgramWalk &Walk() const { return m_walk; }

private:
    QString Command(const QString &word, const QString &argument, int n)
    {
        for (int w = TTextProgramChecker::WordRed; w <= TTextProgramChecker::WordLoop; ++w) {
            if (word != m_words.at(w))
                continue;
            if (w == TTextProgramChecker::WordLoop)
                return RepeatStart(n, argument);
            const auto colour = static_cast<LampCode::Colour>(w);
            const int variant = StepVariant(argument);
            if (!LampCode::HasVariant(colour, variant))
                return LightPositionError(n, kLine, u"の引数が間違っています");
            return Take(TLightItem::Step(n, LampCode::ColourStep(colour, variant)));
        }
        return LightPositionError(n, kLine, u"の命令が間違っています");
    }

    // Nesting is judged before the line's place and its count.
    QString RepeatStart(int n, const QString &argument)
    {
        const TLightItem start = TLightItem::RepeatStart(n, RepeatCount(argument));
        if (const TLightGrammarError error = m_walk.Check(start); error != TLightGrammarError::None)
            return LightGrammarMessage(error, n, kLineWording);
        if (n > kLastRepeatStartLine)
            return LightPositionError(n, kLine, u"の繰り返しの位置が間違っています");
        if (start.count < 0)
            return LightPositionError(n, kLine, u"の引数が間違っています");
        return Take(start);
    }

    QString Take(const TLightItem &item)
    {
        return LightGrammarMessage(m_walk.Add(item), item.position, kLineWording);
    }

    const QStringList &m_words;
    TLightProgramWalk m_walk;
};

} // namespace

QStringList TTextProgramChecker::DefaultWords()
{
    return {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue"),
            QStringLiteral("yellow"), QStringLiteral("purple"), QStringLiteral("lightblue"),
            QStringLiteral("white"), QStringLiteral("off"), QStringLiteral("loop"),
            QStringLiteral("jump"), QStringLiteral("wait")};
}

QString TTextProgramChecker::TrimAscii(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

TTextProgramChecker::Result TTextProgramChecker::Check(const QString &text, QStringList &words)
{
    Result result;
    while (words.size() < WordCount)
        words.append(QString());
    for (int w = WordRed; w <= WordJump; ++w) {
        // Only a box with nothing in it is refused; a box of blanks is
        // trimmed to an empty word like any other and the check goes on.
        if (words.at(w).isEmpty()) {
            result.message = QStringLiteral("命令を正しく設定して下さい");
            return result;
        }
        words[w] = TrimAscii(words.at(w));
    }

    const QStringList lines = CommandLines(text);
    if (lines.size() > LampCode::ProgramLength) {
        result.message = QStringLiteral("文法エラー「命令は20個までです」");
        return result;
    }
    if (lines.isEmpty()) {
        result.message = QStringLiteral("文法エラー「命令がありません」");
        return result;
    }

    CheckRun run(words);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString failure = run.Line(lines.at(i), static_cast<int>(i) + 1);
        if (!failure.isEmpty()) {
            result.message = failure;
            return result;
        }
    }
    const TLightProgramWalk &walk = run.Walk();
    if (const TLightGrammarError error = walk.Finish(); error != TLightGrammarError::None) {
        result.message = LightGrammarMessage(error, static_cast<int>(lines.size()), kLineWording);
        return result;
    }

    result.programList = walk.ProgramList();
    result.expandedList = walk.ExpandedList();
    result.ok = true;
    return result;
}
