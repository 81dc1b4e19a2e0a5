#!/bin/sh
echo "The converter is not built yet; make demo arrives with it."
