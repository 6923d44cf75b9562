// The base of the engine's components (logger, task component, probe, player): a framework
// component with nothing of its own, so the engine's components share one ancestor.
#pragma once

#include "platform/framework/core/component.h"

class TFFBaseComponent : public TComponent {
public:
    using TComponent::TComponent;
};
