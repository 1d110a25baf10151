// The compass as a screen reader sees it: a group of nine buttons, one per direction,
// each pressed like a click on its arm.
#include "Kompass.h"

#include "display/controls/AccessibleFactory.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <array>

namespace {

class TDirectionAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TDirectionAccessible(QAccessibleInterface* group, TKompass* kompass, int direction)
        : FGroup(group), FKompass(kompass), FDirection(direction)
    {
    }

    bool isValid() const override { return !FKompass.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FGroup->window(); }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return FGroup; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !FKompass || !FKompass->isVisible();
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return TKompass::DirectionName(FDirection);
        if (t == QAccessible::Description)
            return TKompass::DirectionKey(FDirection);
        return QString();
    }
    QRect rect() const override
    {
        if (!FKompass)
            return QRect();
        const QPoint at = FKompass->mapToGlobal(TKompass::DirectionPoint(FDirection));
        return QRect(at - QPoint(10, 8), QSize(20, 16));
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                   : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && FKompass)
            FKompass->Press(FDirection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QAccessibleInterface* FGroup;
    QPointer<TKompass> FKompass;
    int FDirection;
};

class TKompassAccessible : public QAccessibleWidget {
public:
    explicit TKompassAccessible(TKompass* kompass) : QAccessibleWidget(kompass, QAccessible::Grouping) {}
    ~TKompassAccessible() override
    {
        for (QAccessible::Id id : FIds)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return TKompass::kDirections; }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= TKompass::kDirections)
            return nullptr;
        if (!FIds[size_t(index)]) {
            auto* direction = new TDirectionAccessible(const_cast<TKompassAccessible*>(this),
                                                       static_cast<TKompass*>(widget()), index);
            FIds[size_t(index)] = QAccessible::registerAccessibleInterface(direction);
        }
        return QAccessible::accessibleInterface(FIds[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < TKompass::kDirections; ++i)
            if (FIds[size_t(i)] && QAccessible::accessibleInterface(FIds[size_t(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < TKompass::kDirections; ++i)
            if (child(i)->rect().contains(x, y))
                return child(i);
        return nullptr;
    }

private:
    mutable std::array<QAccessible::Id, TKompass::kDirections> FIds{};
};

} // namespace

void TKompass::InstallAccessibility()
{
    InstallAccessibleInterface<TKompass, TKompassAccessible>();
}
