// A label for a sentence that can be longer than its place (a banner's
// message, the summary's totals in a narrow window). It asks for the whole
// sentence on one line, its width rounded up, and given less it wraps the
// sentence at word boundaries onto as many lines as it needs, its height
// following its width, so that the sentence always reads whole; it asks for
// no less than its longest word. Its accessible name is the whole sentence.
// Plain text unless a subclass shows the same words as rich text. Main thread
// only.
#pragma once

#include <QLabel>

class SentenceLabel : public QLabel {
  Q_OBJECT

 public:
  explicit SentenceLabel(QWidget* parent = nullptr);

  void setSentence(const QString& sentence);
  const QString& sentence() const { return sentence_; }

  QSize sizeHint() const override;

 protected:
  // Shows the sentence in the form given (rich text of the same words in the
  // same font), under the sentence's accessible name.
  void present(const QString& sentence, const QString& shown);

 private:
  QString sentence_;
};
