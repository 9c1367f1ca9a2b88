#pragma once

#include <QAbstractListModel>
#include <QStringView>
#include <memory>
#include <vector>

struct CorpusContent;

// The entries of a value box of the criteria grid: "- INDIFFERENT -", then the values found by the
// cross search. The values are views into the corpus's texts, so that tens of thousands of long texts
// go in without a copy; the model keeps that corpus alive until it is emptied.
// A value is shown on one line, its runs of whitespace as one space, cut after 200 characters; its
// tooltip and its Qt::UserRole hold it as it stands in the text, which is what a choice searches.
class ValueListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setValues(std::vector<QStringView> values, std::shared_ptr<const CorpusContent> content);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // What a box's clear() asks for.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    std::vector<QStringView> m_values; // the first is "- INDIFFERENT -"
    std::shared_ptr<const CorpusContent> m_content;
};
