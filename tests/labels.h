#ifndef LABELS_H
#define LABELS_H

#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTest>

// Expected values of a table row written as labelled words, "found=yes index=0 kind=box"; each property
// is then checked on its own, so a failure names it and two faults cannot cancel:
//     QCOMPARE(labelled("index", hit.index), want["index"]);
class Labels
{
public:
    explicit Labels(const QString& text)
    {
        for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int equals = pair.indexOf(QLatin1Char('='));
            m_values.insert(pair.left(equals), pair.mid(equals + 1));
        }
    }

    // "label=value" as the row states it; a label the row leaves out fails the test that asks for it.
    QString operator[](const QString& label) const
    {
        if (!m_values.contains(label))
            QTest::qFail(qPrintable(QStringLiteral("the row states no value for \"%1\"").arg(label)), __FILE__, __LINE__);
        return label + QLatin1Char('=') + m_values.value(label);
    }
    bool has(const QString& label) const { return m_values.contains(label); }
    // The value alone, for a row's input rather than its expectation.
    QString value(const QString& label) const { return (*this)[label].section(QLatin1Char('='), 1); }

private:
    QMap<QString, QString> m_values;
};

// The actual value in the form a row states it: numbers as digits, booleans as yes / no.
inline QString labelled(const QString& label, const QString& value)
{
    return label + QLatin1Char('=') + value;
}
inline QString labelled(const QString& label, const char* value)
{
    return labelled(label, QString::fromUtf8(value));
}
inline QString labelled(const QString& label, bool value)
{
    return labelled(label, value ? "yes" : "no");
}
inline QString labelled(const QString& label, int value)
{
    return labelled(label, QString::number(value));
}

// The bytes of a file; none when it cannot be read.
inline QByteArray contents(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

#endif
