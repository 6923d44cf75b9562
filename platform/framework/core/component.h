// TObject, TPersistent and TComponent: the ownership tree every form and component lives in.
// An owner frees its components (last added first); free notifications tell components that keep
// references to others when those go away.
#pragma once

#include <vector>

#include "platform/framework/core/types.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    String ClassName() const;  // the C++ class name, e.g. "TbsSkinButton"
};

class TPersistent : public TObject {
public:
    // Copies Source into this object; raises EConvertError "Cannot assign a X to a Y" when neither
    // side knows how.
    virtual void Assign(TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest);
};

enum TOperation { opInsert, opRemove };

using TComponentState = unsigned;
constexpr TComponentState csLoading = 1u << 0;
constexpr TComponentState csReading = 1u << 1;
constexpr TComponentState csWriting = 1u << 2;
constexpr TComponentState csDestroying = 1u << 3;
constexpr TComponentState csDesigning = 1u << 4;  // never set at run time
constexpr TComponentState csAncestor = 1u << 5;
constexpr TComponentState csUpdating = 1u << 6;
constexpr TComponentState csFixups = 1u << 7;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    // Frees the component the way the framework does: destroying state first, then delete.
    void Free();
    // Runs before the destructor chain when the component is freed (by Free or by its owner),
    // while every part of the object still exists; csDestroying is already set.
    virtual void BeforeDestruction() {}

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const String& name) const;

    const String& Name() const { return FName; }
    virtual void SetName(const String& name);  // EComponentError on a duplicate within the owner
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t tag) { FTag = tag; }
    TComponentState ComponentState() const { return FComponentState; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    void Destroying();

    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Stored-layout loading: BeginLoading marks this component and its owned tree csLoading;
    // EndLoading clears it and calls Loaded on each, owner first, as reading a layout does.
    void BeginLoading();
    void EndLoading();

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();
    void SetComponentState(TComponentState s) { FComponentState = s; }
    void IncludeState(TComponentState s) { FComponentState |= s; }
    void ExcludeState(TComponentState s) { FComponentState &= ~s; }

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    intptr_t FTag = 0;
    TComponentState FComponentState = 0;
};
