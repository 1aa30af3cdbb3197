// WidgetContainer: what widgets and the widget manager share: an ordered list of children
// (back to front), a rectangle relative to the parent, dirty marking, and the tree walks for
// update, fractional update and drawing. The container does not own its children: whoever
// creates a widget deletes it (a widget detaches itself from its parent when destroyed).
#pragma once

#include <atomic>
#include <list>

#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetFlags.h"

namespace Orvane {

class Graphics;
class Widget;
class WidgetManager;

// A position in the manager's coordinates.
struct WidgetPoint {
    int x = 0;
    int y = 0;
};

class WidgetContainer {
public:
    using WidgetList = std::list<Widget*>;

    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer();

    virtual Rect GetRect() const;
    virtual bool Intersects(const WidgetContainer* other) const;

    // Children, kept sorted by z-order (among equal z-orders the newest is in front).
    virtual void AddWidget(Widget* widget);
    virtual void RemoveWidget(Widget* widget);
    virtual bool HasWidget(const Widget* widget) const;
    // Makes the manager drop every reference it keeps to the widget; empty except there.
    virtual void ForgetWidget(Widget* widget);
    // Detaches every child (and, when recursive, every child's children). Owners delete them.
    virtual void RemoveAllWidgets(bool recursive = false);
    virtual void SetFocus(Widget* widget);
    // Whether a is drawn behind b among this container's children.
    virtual bool IsBehind(const Widget* a, const Widget* b) const;
    virtual void MarkAllDirty();
    virtual void BringToFront(Widget* widget);
    virtual void SendToBack(Widget* widget);
    virtual void PlaceBehind(Widget* widget, Widget* reference);
    virtual void PlaceInFront(Widget* widget, Widget* reference);
    // Top-left corner in the manager's coordinates.
    virtual WidgetPoint AbsolutePosition() const;

    virtual void MarkDirty(WidgetContainer* child);
    // Safe from any thread: from another thread than the tree's own (the loading thread's
    // progress) the mark is handed to the manager, which applies it at its next update or
    // draw.
    virtual void MarkDirty();
    virtual void MarkDirtyFull(WidgetContainer* child);
    // Safe from any thread, as MarkDirty.
    virtual void MarkDirtyFull();

    virtual void AddedToManager(WidgetManager* manager);
    virtual void RemovedFromManager(WidgetManager* manager);

    virtual void Update();
    virtual void UpdateTree(int flags);
    virtual void UpdateFraction(float fraction);
    virtual void UpdateFractionTree(int flags, float fraction);
    virtual void Draw(Graphics& g);
    virtual void DrawTree(int flags, Graphics& g);
    virtual void SysColorsChangedTree();
    virtual void SysColorsChanged();

    const WidgetList& Children() const { return mChildren; }
    WidgetManager* GetWidgetManager() const { return mWidgetManager; }
    WidgetContainer* GetParent() const { return mParent; }
    bool IsDirty() const { return mDirty; }
    int UpdateCount() const { return mUpdateCount; }

    // Public state, as the framework's widgets and the game read and set it directly.
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    bool mHasAlpha = false;        // does not cover its rectangle opaquely
    bool mClip = true;             // drawing of this widget and its children is clipped to it
    FlagsMod mWidgetFlagsMod;      // applied to the flags handed down through this widget
    int mPriority = 0;             // deferred overlay ordering
    int mZOrder = 0;               // ordering among siblings

protected:
    friend class WidgetManager;
    friend class Widget;

    // The flags handed to a child: behind the manager's base modal widget (belowModal) the
    // below-modal modification applies.
    int ChildFlags(int flags, bool belowModal) const;
    // The child of this container that is, or contains, the manager's base modal widget.
    const Widget* ModalChild() const;
    void InsertSorted(Widget* widget);
    WidgetList::iterator Find(const Widget* widget);
    WidgetList::const_iterator Find(const Widget* widget) const;
    void Unlink(WidgetList::iterator it);
    void MoveChild(WidgetList::iterator it, WidgetList::iterator before);
    // Joins or leaves a manager's tree (null).
    void SetManager(WidgetManager* manager);

    WidgetList mChildren;
    WidgetManager* mWidgetManager = nullptr;
    WidgetContainer* mParent = nullptr;
    // Position of the update walk; removal of the child there moves it on and sets the flag.
    WidgetList::iterator mUpdateIterator = mChildren.end();
    bool mUpdateIteratorModified = false;
    // Set while this widget waits in a manager's queue of changes from another thread.
    WidgetManager* mQueuedIn = nullptr;
    // The manager whose tree this widget belongs to or waits to join: mWidgetManager as any
    // thread may read it.
    std::atomic<WidgetManager*> mTreeManager{nullptr};
    int mLastManagerUpdateCount = 0;
    int mUpdateCount = 0;
    bool mDirty = false;
};

}  // namespace Orvane
