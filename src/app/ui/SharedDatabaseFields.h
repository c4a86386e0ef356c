#pragma once

#include "data/ServerAddress.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Where the office's shared database is: host, port, database, user and password, with a
// connection test that answers in words without holding the window up.
class SharedDatabaseFields : public QWidget
{
    Q_OBJECT
public:
    explicit SharedDatabaseFields(QWidget *parent = nullptr);

    ServerAddress address() const;
    // The schema is kept as it came: there is no field for it.
    void setAddress(const ServerAddress &address);
    // Empty when the fields name a database, else what is missing.
    QString missing() const;

    void testConnection();
    bool isTesting() const;

private:
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_test;
    QLabel *m_answer;
    QString m_schema;
};
