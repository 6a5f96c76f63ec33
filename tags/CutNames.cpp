#include "tags/CutNames.h"

#include "tags/NameRules.h"

#include <QDir>

#include <algorithm>

namespace CutNames {

namespace {

// The decimal number of text, or 0 when it is not one.
int numberOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return 0;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

} // namespace

int NextNumber(const QString &baseName, bool after, const QStringList &existingNames)
{
    int largest = 0;
    for (const QString &name : existingNames) {
        QString number;
        if (after) {
            // "B_[N]..."
            const QString prefix = baseName + QStringLiteral("_[");
            if (!name.startsWith(prefix))
                continue;
            const qsizetype close = name.indexOf(u']', prefix.size());
            if (close < 0)
                continue;
            number = name.mid(prefix.size(), close - prefix.size());
        } else {
            // "[N]_B..."
            if (!name.startsWith(u'['))
                continue;
            const qsizetype close = name.indexOf(u']');
            if (close < 0 || !name.mid(close).startsWith(QStringLiteral("]_") + baseName))
                continue;
            number = name.mid(1, close - 1);
        }
        largest = std::max(largest, numberOf(number));
    }
    return largest + 1;
}

QString CutFileName(const Rule &rule, const QString &baseName, const QStringList &existingNames)
{
    const QString addition = rule.numbered
        ? QString::number(NextNumber(baseName, rule.after, existingNames))
        : rule.text;
    const QString name = rule.after ? baseName + QStringLiteral("_[") + addition + u']'
                                    : u'[' + addition + QStringLiteral("]_") + baseName;
    return NameRules::SafeFileName(name);
}

QString ApplyCutNameRule(const Rule &rule, const QString &baseName, const QStringList &folders)
{
    QStringList existing;
    if (rule.numbered) {
        for (const QString &folder : folders)
            existing += QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    return CutFileName(rule, baseName, existing);
}

} // namespace CutNames
