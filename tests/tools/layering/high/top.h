#pragma once
// A header of the upper layer.
