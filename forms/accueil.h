#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace Ui {
class accueil;
}

// The welcome form: a picture, the welcome text, and one button per corpus source.
class accueil : public QDialog
{
    Q_OBJECT
public:
    explicit accueil(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                     Qt::WindowFlags flags = {});
    ~accueil() override;

    QLabel* pic;
    QPushButton* bt2;
    QPushButton* bt3;
    QPushButton* bt1;
    QTextBrowser* Txt;
    QLabel* TextLabel1;

public slots:
    virtual void bt1Click();
    virtual void bt2Click();
    virtual void bt3Click();

protected slots:
    virtual void languageChange();

private:
    std::unique_ptr<Ui::accueil> m_ui;
};
