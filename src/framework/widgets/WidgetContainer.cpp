#include "framework/widgets/WidgetContainer.h"

#include <iterator>

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

namespace Orvane {

WidgetContainer::~WidgetContainer() {
    // Children outlive a container only when their owner keeps them; leave them detached.
    for (Widget* child : mChildren) {
        child->mParent = nullptr;
        child->SetManager(nullptr);
    }
    mChildren.clear();
}

void WidgetContainer::SetManager(WidgetManager* manager) {
    mWidgetManager = manager;
    mTreeManager = manager;
}

Rect WidgetContainer::GetRect() const { return Rect(mX, mY, mWidth, mHeight); }

bool WidgetContainer::Intersects(const WidgetContainer* other) const {
    return other != nullptr && GetRect().Intersects(other->GetRect());
}

WidgetContainer::WidgetList::iterator WidgetContainer::Find(const Widget* widget) {
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it)
        if (*it == widget) return it;
    return mChildren.end();
}

WidgetContainer::WidgetList::const_iterator WidgetContainer::Find(const Widget* widget) const {
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it)
        if (*it == widget) return it;
    return mChildren.end();
}

void WidgetContainer::InsertSorted(Widget* widget) {
    // Among equal z-orders the newest goes in front.
    auto it = mChildren.end();
    while (it != mChildren.begin()) {
        auto prev = std::prev(it);
        if ((*prev)->mZOrder <= widget->mZOrder) break;
        it = prev;
    }
    mChildren.insert(it, widget);
}

void WidgetContainer::Unlink(WidgetList::iterator it) {
    // A running update walk stands on this child: move it on to the next one.
    if (it == mUpdateIterator) {
        mUpdateIterator = mChildren.erase(it);
        mUpdateIteratorModified = true;
    } else {
        mChildren.erase(it);
    }
}

void WidgetContainer::MoveChild(WidgetList::iterator it, WidgetList::iterator before) {
    if (it == before) return;
    // A running update walk stands on this child: go on with the one after its old place;
    // the walk may meet it again at the new place, where the once-per-update rule holds.
    if (it == mUpdateIterator) {
        mUpdateIterator = std::next(it);
        mUpdateIteratorModified = true;
    }
    mChildren.splice(before, mChildren, it);
}

void WidgetContainer::AddWidget(Widget* widget) {
    if (widget == nullptr || widget == this || Find(widget) != mChildren.end()) return;
    // The tree belongs to the thread that runs the frame loop; another thread's addition
    // (the loading thread adding the game screen) waits for the next update there.
    WidgetManager* tree = mTreeManager;
    if (tree != nullptr && !tree->IsOwnerThread()) {
        tree->QueueAdd(this, widget);
        return;
    }
    // A widget lives in one container at a time.
    if (widget->mParent != nullptr) widget->mParent->RemoveWidget(widget);

    InsertSorted(widget);
    widget->SetManager(mWidgetManager);
    widget->mParent = this;
    if (mWidgetManager != nullptr) {
        widget->AddedToManager(mWidgetManager);
        widget->MarkDirtyFull();
        mWidgetManager->RehupMouse();
    }
    MarkDirty();
}

void WidgetContainer::RemoveWidget(Widget* widget) {
    if (mWidgetManager != nullptr) mWidgetManager->DropQueuedAdd(widget);
    auto it = Find(widget);
    if (it == mChildren.end()) return;

    WidgetManager* manager = mWidgetManager;
    if (manager != nullptr) {
        // What was behind the widget shows again.
        if (widget->mVisible) widget->MarkDirtyFull();
        manager->ForgetWidget(widget);
        widget->RemovedFromManager(manager);
    }
    widget->SetManager(nullptr);
    widget->mParent = nullptr;
    // The callbacks above may have moved the list on; look the widget up again.
    it = Find(widget);
    if (it != mChildren.end()) Unlink(it);
    MarkDirty();
}

bool WidgetContainer::HasWidget(const Widget* widget) const {
    return Find(widget) != mChildren.end();
}

void WidgetContainer::ForgetWidget(Widget*) {}

void WidgetContainer::RemoveAllWidgets(bool recursive) {
    while (!mChildren.empty()) {
        Widget* child = mChildren.front();
        RemoveWidget(child);
        if (recursive) child->RemoveAllWidgets(true);
    }
}

void WidgetContainer::SetFocus(Widget*) {}

bool WidgetContainer::IsBehind(const Widget* a, const Widget* b) const {
    for (const Widget* child : mChildren) {
        if (child == a) return Find(b) != mChildren.end() && a != b;
        if (child == b) return false;
    }
    return false;
}

void WidgetContainer::MarkAllDirty() {
    MarkDirty();
    mDirty = true;
    for (Widget* child : mChildren) child->MarkAllDirty();
}

void WidgetContainer::BringToFront(Widget* widget) {
    auto it = Find(widget);
    if (it == mChildren.end()) return;
    MoveChild(it, mChildren.end());
    widget->MarkDirty();
}

void WidgetContainer::SendToBack(Widget* widget) {
    auto it = Find(widget);
    if (it == mChildren.end()) return;
    MoveChild(it, mChildren.begin());
    widget->MarkDirtyFull();
}

void WidgetContainer::PlaceBehind(Widget* widget, Widget* reference) {
    auto it = Find(widget);
    auto ref = Find(reference);
    if (it == mChildren.end() || ref == mChildren.end() || it == ref) return;
    MoveChild(it, ref);
    widget->MarkDirtyFull();
}

void WidgetContainer::PlaceInFront(Widget* widget, Widget* reference) {
    auto it = Find(widget);
    auto ref = Find(reference);
    if (it == mChildren.end() || ref == mChildren.end() || it == ref) return;
    MoveChild(it, std::next(ref));
    widget->MarkDirtyFull();
}

WidgetPoint WidgetContainer::AbsolutePosition() const {
    WidgetPoint p;
    // The manager's own rectangle is the root frame: positions stop below it.
    for (const WidgetContainer* c = this; c != nullptr && c != mWidgetManager; c = c->mParent) {
        p.x += c->mX;
        p.y += c->mY;
    }
    return p;
}

void WidgetContainer::MarkDirty(WidgetContainer* child) {
    if (child == nullptr || child->mDirty) return;
    MarkDirty();
    child->mDirty = true;
}

void WidgetContainer::MarkDirty() {
    WidgetManager* tree = mTreeManager;
    if (tree != nullptr && !tree->IsOwnerThread()) {
        tree->QueueDirty(this, false);
        return;
    }
    if (mParent != nullptr)
        mParent->MarkDirty(this);
    else
        mDirty = true;
}

void WidgetContainer::MarkDirtyFull(WidgetContainer* child) {
    // Below the manager a container redraws its whole area, which covers the child.
    MarkDirtyFull();
    if (child != nullptr) child->mDirty = true;
}

void WidgetContainer::MarkDirtyFull() {
    WidgetManager* tree = mTreeManager;
    if (tree != nullptr && !tree->IsOwnerThread()) {
        tree->QueueDirty(this, true);
        return;
    }
    if (mParent != nullptr)
        mParent->MarkDirtyFull(this);
    else
        mDirty = true;
}

void WidgetContainer::AddedToManager(WidgetManager* manager) {
    for (Widget* child : mChildren) {
        child->SetManager(manager);
        child->AddedToManager(manager);
    }
    MarkDirty();
}

void WidgetContainer::RemovedFromManager(WidgetManager* manager) {
    for (Widget* child : mChildren) {
        if (manager != nullptr) manager->ForgetWidget(child);
        child->RemovedFromManager(manager);
        child->SetManager(nullptr);
    }
}

const Widget* WidgetContainer::ModalChild() const {
    if (mWidgetManager == nullptr) return nullptr;
    const WidgetContainer* w = mWidgetManager->mBaseModalWidget;
    while (w != nullptr && w->mParent != this) w = w->mParent;
    return static_cast<const Widget*>(w);
}

int WidgetContainer::ChildFlags(int flags, bool belowModal) const {
    if (belowModal && mWidgetManager != nullptr)
        return mWidgetManager->mBelowModalFlagsMod.Apply(flags);
    return flags;
}

void WidgetContainer::Update() { ++mUpdateCount; }

void WidgetContainer::UpdateTree(int flags) {
    flags = mWidgetFlagsMod.Apply(flags);
    if (flags & WIDGETFLAGS_MARK_DIRTY) MarkDirty();

    if (mWidgetManager != nullptr && (flags & WIDGETFLAGS_UPDATE) &&
        mLastManagerUpdateCount != mWidgetManager->mManagerUpdateCount) {
        mLastManagerUpdateCount = mWidgetManager->mManagerUpdateCount;
        Update();
    }

    // Children may remove themselves or siblings while they update: Unlink moves the walk on.
    const Widget* modal = ModalChild();
    bool belowModal = modal != nullptr;
    mUpdateIterator = mChildren.begin();
    while (mUpdateIterator != mChildren.end()) {
        mUpdateIteratorModified = false;
        Widget* child = *mUpdateIterator;
        if (child == modal) belowModal = false;
        child->UpdateTree(ChildFlags(flags, belowModal));
        if (!mUpdateIteratorModified) ++mUpdateIterator;
    }
    mUpdateIteratorModified = false;
}

void WidgetContainer::UpdateFraction(float) {}

void WidgetContainer::UpdateFractionTree(int flags, float fraction) {
    flags = mWidgetFlagsMod.Apply(flags);
    if (flags & WIDGETFLAGS_UPDATE) UpdateFraction(fraction);

    const Widget* modal = ModalChild();
    bool belowModal = modal != nullptr;
    mUpdateIterator = mChildren.begin();
    while (mUpdateIterator != mChildren.end()) {
        mUpdateIteratorModified = false;
        Widget* child = *mUpdateIterator;
        if (child == modal) belowModal = false;
        child->UpdateFractionTree(ChildFlags(flags, belowModal), fraction);
        if (!mUpdateIteratorModified) ++mUpdateIterator;
    }
    mUpdateIteratorModified = false;
}

void WidgetContainer::Draw(Graphics&) {}

void WidgetContainer::DrawTree(int flags, Graphics& g) {
    if (mWidgetManager != nullptr && mPriority > mWidgetManager->mMinDeferredOverlayPriority)
        mWidgetManager->FlushDeferredOverlayWidgets(mPriority);

    flags = mWidgetFlagsMod.Apply(flags);
    if (mClip && (flags & WIDGETFLAGS_CLIP)) g.ClipRect(0, 0, mWidth, mHeight);

    if (mChildren.empty()) {
        if (flags & WIDGETFLAGS_DRAW) Draw(g);
        mDirty = false;
        return;
    }

    if (flags & WIDGETFLAGS_DRAW) {
        g.SaveState();
        Draw(g);
        g.RestoreState();
    }

    const Widget* modal = ModalChild();
    bool belowModal = modal != nullptr;
    for (Widget* child : mChildren) {
        if (child == modal) belowModal = false;
        if (child->mVisible) {
            Graphics childG(g);
            childG.Translate(child->mX, child->mY);
            child->DrawTree(ChildFlags(flags, belowModal), childG);
        }
        // Drawing this container redraws the whole subtree: every child is clean now, so a
        // later MarkDirty of it reaches this container again.
        child->mDirty = false;
    }
    mDirty = false;
}

void WidgetContainer::SysColorsChangedTree() {
    SysColorsChanged();
    for (Widget* child : mChildren) child->SysColorsChangedTree();
}

void WidgetContainer::SysColorsChanged() {}

}  // namespace Orvane
