#include "gui/ResultListWindowPort.h"

#include "gui/OwnerThreadCall.h"
#include "gui/ResultListModel.h"

int ResultListWindowPort::rowCount() {
    return CallOnOwnerThread(&m_model, m_off, [this] { return m_model.rowCount(); });
}

void ResultListWindowPort::insertRow(int index, const QString& itemText) {
    CallOnOwnerThread(&m_model, m_off, [&] { m_model.InsertItem(index, itemText); });
}

void ResultListWindowPort::setCell(int row, int column, const QString& text) {
    CallOnOwnerThread(&m_model, m_off, [&] { m_model.SetItemText(row, column, text); });
}

QString ResultListWindowPort::cell(int row, int column) {
    return CallOnOwnerThread(&m_model, m_off, [&] { return m_model.GetItemText(row, column); });
}

void ResultListWindowPort::clear() {
    CallOnOwnerThread(&m_model, m_off, [this] { m_model.DeleteAllItems(); });
}

int ResultListWindowPort::insertNewRows(int index, const QList<Row>& rows) {
    return CallOnOwnerThread(&m_model, m_off, [&] { return m_model.InsertNewRows(index, rows); });
}

bool ResultListWindowPort::containsLink(const QString& link) {
    return CallOnOwnerThread(&m_model, m_off, [&] { return m_model.ContainsLink(link); });
}
