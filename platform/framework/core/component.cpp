#include "platform/framework/core/component.h"

#include <cxxabi.h>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

String TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    return Utf8ToString(status == 0 && demangled ? demangled.get() : mangled);
}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError(L"Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    throw EConvertError(L"Cannot assign a " + ClassName() + L" to a " + (Dest ? Dest->ClassName() : String(L"nil")));
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Everyone who asked to hear of our end hears it now; they drop their references.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free()
{
    // Destroying state first, so that the derived destructors already see it.
    Destroying();
    BeforeDestruction();
    delete this;
}

void TComponent::Destroying()
{
    if (FComponentState & csDestroying) return;
    FComponentState |= csDestroying;
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        FComponents.pop_back();
        c->FOwner = nullptr;
        Notification(c, opRemove);
        c->Destroying();
        c->BeforeDestruction();
        delete c;
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const
{
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::SetName(const String& name)
{
    if (name == FName) return;
    if (FOwner && !name.empty()) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this) throw EComponentError(L"A component named " + name + L" already exists");
    }
    FName = name;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    if (!AComponent->FName.empty()) {
        TComponent* other = FindComponent(AComponent->FName);
        if (other) throw EComponentError(L"A component named " + AComponent->FName + L" already exists");
    }
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    // A component made while its owner loads its stored layout is part of that layout.
    if (FComponentState & csLoading) AComponent->FComponentState |= csLoading | (FComponentState & csReading);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
    AComponent->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    auto add = [](std::vector<TComponent*>& v, TComponent* c) {
        if (std::find(v.begin(), v.end(), c) == v.end()) v.push_back(c);
    };
    add(FFreeNotifies, AComponent);
    add(AComponent->FFreeNotifies, this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
    auto& theirs = AComponent->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // The notice goes down the ownership tree, so every component of a form hears of a removal.
    for (size_t i = 0; i < FComponents.size(); ++i)
        if (FComponents[i] != AComponent) FComponents[i]->Notification(AComponent, Operation);
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading | csReading;
    for (TComponent* c : FComponents) c->BeginLoading();
}

void TComponent::EndLoading()
{
    FComponentState &= ~csReading;
    for (TComponent* c : FComponents) c->FComponentState &= ~csReading;
    // Loaded runs with csLoading still set on the component itself, then clears it.
    Loaded();
    for (size_t i = 0; i < FComponents.size(); ++i)
        if (FComponents[i]->FComponentState & csLoading) FComponents[i]->EndLoading();
}

void TComponent::Loaded() { FComponentState &= ~csLoading; }
