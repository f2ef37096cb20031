#pragma once
// Which parts of the working record differ from the last applied one, as the service reads them.
#include "settings/settings_record.h"

namespace kavo::option {

// The fourteen device fields of a profile, compared on Apply.
constexpr std::int32_t ProfileRecord::*kDeviceFields[] = {
    &ProfileRecord::HDDKeyboard,   &ProfileRecord::Orientation, &ProfileRecord::XYSynchronous,
    &ProfileRecord::Sensitivity_X, &ProfileRecord::Sensitivity_Y, &ProfileRecord::Cpi_X,
    &ProfileRecord::Cpi_Y,         &ProfileRecord::XYCpiFlag,   &ProfileRecord::PollingRate,
    &ProfileRecord::LiftSwitch,    &ProfileRecord::LiftLevel,   &ProfileRecord::LightSwitch,
    &ProfileRecord::LightType,     &ProfileRecord::BTOption,
};

// Sets SettingsChanged and CurrentProfileChanged of working against snapshot. ButtonChanged belongs to the
// pages that edit buttons and is left as it is.
void ComputeChangeFlags(const SettingsRecord& snapshot, SettingsRecord& working);

}  // namespace kavo::option
