#include "print/PrintPlan.h"

#include <QRandomGenerator>
#include <algorithm>
#include <numeric>
#include <span>

namespace {

// SplitMix64: tiny, fully specified, the same numbers everywhere.
class SeededSequence {
public:
    explicit SeededSequence(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in 0..bound-1, without the bias of a plain modulo.
    int below(int bound)
    {
        const quint64 n = static_cast<quint64>(bound);
        const quint64 limit = ~0ULL - (~0ULL % n);
        quint64 x = next();
        while (x >= limit)
            x = next();
        return static_cast<int>(x % n);
    }

    template <typename Range> void shuffle(Range &range)
    {
        for (auto i = static_cast<int>(range.size()) - 1; i > 0; --i)
            std::swap(range[i], range[below(i + 1)]);
    }

private:
    quint64 m_state;
};

} // namespace

int printedAnswerCount(const TestHeader &header)
{
    return std::clamp(header.answerCount, 3, kMaxAnswers);
}

int printedQuestionCount(const TestHeader &header)
{
    return std::clamp(header.questionCount, 0, kMaxQuestions);
}

bool isCorrectAnswer(const Question &question, int answer)
{
    return answer >= 0 && answer < question.correct.size() && question.correct.at(answer) == u'1';
}

QString answerLetter(int position)
{
    return QString(QChar(u'A' + position));
}

PrintPlan planPrint(const TestHeader &header, int versions, std::optional<quint32> seed)
{
    PrintPlan plan;
    plan.answerCount = printedAnswerCount(header);
    versions = std::clamp(versions, 1, kMaxPrintVersions);
    plan.shuffled = versions > 1 || seed.has_value();
    // Short enough to copy from the key by hand.
    plan.seed = seed ? *seed : QRandomGenerator::global()->bounded(1u, 1000000u);

    const int questionCount = printedQuestionCount(header);
    std::array<int, kMaxAnswers> ownOrder{};
    std::iota(ownOrder.begin(), ownOrder.end(), 0);
    for (int v = 0; v < versions; ++v) {
        PrintVersion version;
        version.index = v;
        version.questions.resize(questionCount);
        std::iota(version.questions.begin(), version.questions.end(), 1);
        version.answers.fill(ownOrder, questionCount);
        if (plan.shuffled) {
            // Each version from its own stream, so version B does not change with the count printed.
            SeededSequence random((quint64(plan.seed) << 8) | quint64(v));
            random.shuffle(version.questions);
            for (auto &order : version.answers) {
                std::span<int> used(order.data(), static_cast<size_t>(plan.answerCount));
                random.shuffle(used);
            }
        }
        plan.versions.append(version);
    }
    return plan;
}
