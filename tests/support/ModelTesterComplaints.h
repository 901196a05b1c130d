// ModelTesterComplaints: while one lives, each complaint of a QAbstractItemModelTester fails the
// running test.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace y4::test {

class ModelTesterComplaints {
public:
    ModelTesterComplaints() { previous_ = qInstallMessageHandler(&handle); }
    ~ModelTesterComplaints() { qInstallMessageHandler(previous_); }
    ModelTesterComplaints(const ModelTesterComplaints&) = delete;
    ModelTesterComplaints& operator=(const ModelTesterComplaints&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg &&
            QByteArray(context.category) == "qt.modeltest") {
            ADD_FAILURE() << text.toStdString();
        } else if (previous_) {
            previous_(type, context, text);
        }
    }
    static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace y4::test
