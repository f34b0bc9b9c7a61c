#include "platform/dialog_filter.h"

QStringList QtNameFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& caption = parts[i];
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString p = pattern.trimmed();
      if (p.isEmpty()) continue;
      patterns.append(p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    }
    if (patterns.isEmpty()) patterns.append(QStringLiteral("*"));
    const QString group = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    result.append(caption.endsWith(group) ? caption : caption + QLatin1Char(' ') + group);
  }
  return result;
}
