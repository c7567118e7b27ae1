#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Clicks OK on the log's notice as soon as it shows, so a benchmark never waits for a person.
inline void DismissNoticeWhenShown() {
    QTimer::singleShot(0, qApp, [] {
        if (auto* notice = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            notice->button(QMessageBox::Ok)->click();
        } else {
            DismissNoticeWhenShown();
        }
    });
}
