#pragma once

#include "platform/EventPump.h"

class QtEventPump final : public EventPump {
public:
    void DoEvents() override;
};
