// How a set's copies were found equal: the BLAKE3 digest that proves it, or
// the warning that only name and size agree. Main thread only.
#pragma once

#include <QWidget>

#include "interface/InterfaceRecords.h"

class QLabel;
class SymbolLabel;

class ContentRow final : public QWidget {
  Q_OBJECT

 public:
  explicit ContentRow(QWidget* parent = nullptr);

  void setSet(const DuplicateSet& set);

 private:
  QWidget* identical_;
  QLabel* digest_;
  SymbolLabel* notVerified_;
};
