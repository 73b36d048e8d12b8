#pragma once
// Drag formats: a dragged model object carries its object key (type code and
// decimal id) under this format, and its name as plain text.
//
// A key only means something in the document it came from: drags that may
// land in another document's window also carry the marker of their document
// (this running program and the document's address), and such a window
// refuses keys whose marker is not its own.

#include <QByteArray>
#include <QCoreApplication>
#include <QMimeData>
#include <QString>

#include <string>

namespace ch {

inline const QString kNonvisualPboardType = QStringLiteral("CNonvisualPboardType");
inline const QString kDocumentPboardType = QStringLiteral("application/x-countinghouse-document");

inline QByteArray documentMarker(const void* document)
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(document));
}

// What a drag of a model object carries: its key, its name and the marker
// of its document. The caller (a drag) takes the data.
inline QMimeData* objectDragData(const std::string& key, const std::string& name, const void* document)
{
    auto* data = new QMimeData;
    data->setData(kNonvisualPboardType, QByteArray::fromStdString(key));
    data->setText(QString::fromStdString(name));
    data->setData(kDocumentPboardType, documentMarker(document));
    return data;
}

} // namespace ch
