// A header of the sound layer.
#pragma once
