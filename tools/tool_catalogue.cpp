// vellumo-tool catalogue: arrives with the template catalogue.
