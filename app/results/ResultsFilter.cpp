#include "results/ResultsFilter.h"

#include <QCoreApplication>

QString title(ResultsFilter filter) {
  return filter == ResultsFilter::duplicates
             ? QCoreApplication::translate("ResultsFilter", "Duplicates")
             : QCoreApplication::translate("ResultsFilter", "Same Name, Different Content");
}
