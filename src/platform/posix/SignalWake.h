// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A descriptor that becomes readable when a request of CInterruptSignals
// comes (to stop, or to read the settings again), so that a wait for other
// things ends on it whatever thread took the signal; -1 before Install.
// Waiters read it empty.
int SignalWakeDescriptor();
