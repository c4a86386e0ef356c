#include "print/ui/ControlValue.h"

#include "base/Ui.h"
#include "bills/BillValues.h"

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

// The named control and the widget it counts as shown or hidden in; null when there is none.
std::pair<QWidget *, const QWidget *> findControl(const QWidget *container, const QString &ctlName)
{
    if (ctlName.isEmpty() || !container)
        return {};
    const QWidget *root = container;
    QWidget *control = findNamed(container, ctlName, Qt::FindDirectChildrenOnly);
    if (!control && container->parentWidget()) {
        root = container->parentWidget();
        control = findNamed(root, ctlName, Qt::FindChildrenRecursively);
    }
    return {control, root};
}

QString controlText(const QWidget *control, const QString &ctlName, Ui &ui)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (auto *memo = qobject_cast<const QTextEdit *>(control))
        return memo->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *box = qobject_cast<const QCheckBox *>(control))
        return box->isChecked() ? QStringLiteral("√") : QString();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(control))
        return spin->text();
    ui.error(u"打印项目" + ctlName + u"的控件类型（" +
             QString::fromLatin1(control->metaObject()->className()) + u"）不支持打印。");
    return {};
}

} // namespace

QString getControlValue(const QWidget *container, const QString &ctlName, Ui &ui)
{
    const auto [control, root] = findControl(container, ctlName);
    if (!control || !control->isVisibleTo(root))
        return {};
    return controlText(control, ctlName, ui);
}

void readControls(const QWidget *container, const QStringList &ctlNames, BillValues &bill, Ui &ui)
{
    for (const QString &name : ctlNames) {
        const auto [control, root] = findControl(container, name);
        if (!control)
            continue;
        bill.set(name, controlText(control, name, ui));
        bill.setHidden(name, !control->isVisibleTo(root));
    }
}
