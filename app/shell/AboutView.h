// The About window: the application's icon, its name, the version line, two
// short credit sections, links to the website's home, privacy and terms
// pages, and the notice line. Exactly 460 pixels wide and as tall as its
// content; it cannot be minimised or resized. Escape and Ctrl+W close it.
// Assistive technology reads the credit titles as headings and passes over
// the icon. The version and notice come from the build's information keys.
// Main thread only.
#pragma once

#include <QUrl>
#include <QVariantMap>
#include <QWidget>
#include <functional>

class AboutView final : public QWidget {
  Q_OBJECT

 public:
  using OpenLink = std::function<void(const QUrl&)>;

  // Links are opened through openLink (the default browser in the application).
  explicit AboutView(OpenLink openLink, QWidget* parent = nullptr);

  // "Version 1.2 (45)" from the short version and the build number.
  static QString versionText(const QVariantMap& info);
  // The page of the website a link opens: "" for the home page.
  static QUrl websitePage(const QString& page);
};
