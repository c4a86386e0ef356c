#include "print/ui/ControlValue.h"

#include "base/Ui.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

QWidget *findNamed(const QWidget *root, const QString &name, Qt::FindChildOptions options)
{
    const QList<QWidget *> children = root->findChildren<QWidget *>(QString(), options);
    for (QWidget *child : children) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

} // namespace

QString getControlValue(const QWidget *container, const QString &ctlName, Ui &ui)
{
    if (ctlName.isEmpty() || !container)
        return {};
    const QWidget *root = container;
    QWidget *control = findNamed(container, ctlName, Qt::FindDirectChildrenOnly);
    if (!control && container->parentWidget()) {
        root = container->parentWidget();
        control = findNamed(root, ctlName, Qt::FindChildrenRecursively);
    }
    if (!control || !control->isVisibleTo(root))
        return {};

    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (auto *memo = qobject_cast<QTextEdit *>(control))
        return memo->toPlainText();
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *box = qobject_cast<QCheckBox *>(control))
        return box->isChecked() ? QStringLiteral("√") : QString();
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(control))
        return spin->text();
    ui.error(u"打印项目" + ctlName + u"的控件类型（" +
             QString::fromLatin1(control->metaObject()->className()) + u"）不支持打印。");
    return {};
}
