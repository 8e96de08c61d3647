// How members are captioned: 0 by name, 1 by alias when there is one, 2 both.
#pragma once

constexpr int kDefaultMemberDisplayOption = 2;
