// A header of the view layer.
#pragma once
