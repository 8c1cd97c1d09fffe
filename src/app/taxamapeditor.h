#pragma once
// The taxa map in the program's own small editor: a table of name and family, a row for
// each line of the map, blanks at either end of a name shown as "␣" so that they can be
// seen. "Save" reads the table as the program reads the map (a family of the taxa
// database, one of its synonyms, or IGNORE) and, when it reads, writes the map whole in
// one step; otherwise it says which row is wrong and the editor stays open. The map's
// comment lines are kept at its head.

#include "input/taxadatabase.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QTableWidget;

namespace torrentix {

class TaxaMapEditor : public QDialog {
    Q_OBJECT
  public:
    // Reads the map at `path` (UTF-8 or Windows-1252); object name "taxaMapEditor".
    TaxaMapEditor(const TaxaDatabase& taxa, QString path, QWidget* parent = nullptr);

    // The map as the table writes it: the comment lines, then "name<TAB>family" per row.
    QString mapText() const;
    // Checks the table and writes the map; false, with the reason shown, when it cannot.
    bool save();

  private:
    void load();
    QString rowsText() const;
    void addRow(const QString& name, const QString& family);

    const TaxaDatabase& taxa_;
    QString path_;
    QStringList comments_;
    QTableWidget* table_ = nullptr; // mapTable
    QLabel* problem_ = nullptr;     // lbl_mapproblem
};

// A name with its blanks at either end shown as "␣".
QString withVisibleBlanks(const QString& text);

} // namespace torrentix
