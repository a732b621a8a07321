// The window's hidden data stores: a plain list of texts, a file list filtered by a wildcard
// and sorted by name, and a directory list that tests a folder's existence.
#pragma once

#include <QString>
#include <QStringList>

namespace cvx {

class HiddenList {
  public:
    void AddItem(const QString& item) { items_ << item; }
    void Clear() { items_.clear(); }
    [[nodiscard]] int ListCount() const { return static_cast<int>(items_.size()); }
    // Item i, or an empty text outside the list.
    [[nodiscard]] QString List(int i) const {
        return i >= 0 && i < items_.size() ? items_[i] : QString();
    }
    [[nodiscard]] const QStringList& items() const { return items_; }
    void setItems(const QStringList& items) { items_ = items; }

  private:
    QStringList items_;
};

class FileListBox {
  public:
    explicit FileListBox(QString pattern) : pattern_(std::move(pattern)) {}
    [[nodiscard]] QString Path() const { return path_; }
    // Points the list at a folder and lists its files matching the pattern, in name order.
    void setPath(const QString& folder);
    [[nodiscard]] int ListCount() const { return static_cast<int>(names_.size()); }
    [[nodiscard]] QString List(int i) const {
        return i >= 0 && i < names_.size() ? names_[i] : QString();
    }

  private:
    QString pattern_;
    QString path_;
    QStringList names_;
};

class DirListBox {
  public:
    [[nodiscard]] QString Path() const { return path_; }
    // Points the list at `folder`; false (and nothing changed) when it does not exist.
    // The path is kept in canonical form, without a trailing separator unless it is a root.
    [[nodiscard]] bool trySetPath(const QString& folder);

  private:
    QString path_;
};

} // namespace cvx
